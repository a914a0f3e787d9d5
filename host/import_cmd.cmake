# "faxhost import" and "faxhost phonebook import": the import program's
# readers over the phonebook store; a vCard book through the stand-in
# address book and the program's address book rules.
add_library(import_cmd STATIC ${CMAKE_CURRENT_LIST_DIR}/import_cmd.cpp ${CMAKE_CURRENT_LIST_DIR}/terminal.cpp)
target_include_directories(import_cmd PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(import_cmd PUBLIC import_files phonebook_store phonebook_cmd import_addressbook addressbook_standin)
target_include_directories(import_cmd PRIVATE ${CMAKE_SOURCE_DIR}/addressbook/standin)
