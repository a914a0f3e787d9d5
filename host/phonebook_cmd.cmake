# "faxhost phonebook": the command as a library; faxhost links it and
# dispatches argv[1] == "phonebook" to RunPhonebookCommand(argc - 1, argv + 1).
add_library(phonebook_cmd STATIC ${CMAKE_CURRENT_LIST_DIR}/phonebook_cmd.cpp ${CMAKE_CURRENT_LIST_DIR}/phonebook_manage.cpp)
target_include_directories(phonebook_cmd PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(phonebook_cmd PUBLIC phonebook_store host_core platform)
# "manage" opens faxui's phonebook manager by its template id.
target_link_libraries(phonebook_cmd PRIVATE ui_resource_ids)
