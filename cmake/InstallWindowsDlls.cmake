# Run at install time, after lockvale.exe: copies beside it the DLLs that it and its Qt plugins
# import, as scripts/windows-dlls finds them.
file(GLOB plugins ${qt_plugins}/platforms/qwindows.dll ${qt_plugins}/styles/*.dll)
execute_process(COMMAND ${dll_script} ${dll_folders} ${program} ${plugins}
                OUTPUT_VARIABLE dlls COMMAND_ERROR_IS_FATAL ANY)
string(STRIP "${dlls}" dlls)
string(REPLACE "\n" ";" dlls "${dlls}")
file(INSTALL ${dlls} DESTINATION ${CMAKE_INSTALL_PREFIX})
