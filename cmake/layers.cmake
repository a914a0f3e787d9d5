# The layers of the product and the links allowed between them: the one
# place the link check (check_link_layers.cmake) takes them from. Each row
# names a layer, its libraries and programs, and the layers they may link.
# A layer links its own members only where it lists itself; the dialog
# layers do not, so no dialog library can come to link a sibling.
#
#   layer             | members                                            | may link
set(fax_layer_rows
  "platform          | platform                                           | "
  "platform_entry    | platform_automation platform_winmain               | platform"
  "common            | common handoff_format common_handoff common_lists  | common platform"
  "records           | jobwatch_record                                    | common"
  "resource_ids      | ui_resource_ids                                    | "
  "render            | render_objs render_core faxrender                  | render common"
  "phonebook_format  | kfd_format phonebook_format                        | phonebook_format common platform"
  "store             | phonebook_store                                    | phonebook_format platform"
  "shared_routines   | ui_shared                                          | store phonebook_format resource_ids common platform"
  "current_phonebook | phonebook_current                                  | shared_routines store resource_ids common platform"
  "entry_dialogs     | ui_entry_dialogs                                   | shared_routines store resource_ids"
  "phonebook_dialog  | ui_phonebook                                       | entry_dialogs current_phonebook shared_routines resource_ids"
  "recipient_list    | ui_recipients                                      | phonebook_dialog entry_dialogs current_phonebook shared_routines resource_ids"
  "ui_core           | ui_core                                            | recipient_list shared_routines records resource_ids common platform"
  "ui_module         | faxui                                              | ui_core recipient_list phonebook_dialog"
  "import            | import_text import_files import_addressbook import_app | import phonebook_format resource_ids common platform"
  "import_programs   | rcpimport rcpimportx                               | import platform_entry"
  "addressbook       | vcard_reader addressbook_standin mapi32 wab32      | addressbook common platform"
  "jobwatch_standin  | qjwapi qjwapi_basic qjwapi_broken                  | records"
  "host              | host_core host_ui phonebook_cmd import_cmd jobwatch_cmd faxhost | host import addressbook store records resource_ids common platform_entry platform"
  "cups_filter       | faxcups_core faxcups                               | cups_filter host recipient_list shared_routines store phonebook_format common platform"
)
