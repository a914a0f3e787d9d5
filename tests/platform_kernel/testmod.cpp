// A tiny module for the LoadLibrary/GetProcAddress tests.
extern "C" int TestAdd(int a, int b) { return a + b; }
