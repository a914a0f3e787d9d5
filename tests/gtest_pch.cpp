// Nothing of its own: the program whose precompiled GoogleTest header the
// test programs share.
