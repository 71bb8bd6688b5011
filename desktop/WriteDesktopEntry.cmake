# Run at install time: the desktop entry with the full path of the installed program.
set(exec "${CMAKE_INSTALL_PREFIX}/${QUILLOW_BINDIR}/quillow")
# Inside the Exec key's quotes these characters would need escapes of their own.
string(REGEX MATCH "[\"`$\\\\%]" reserved "${exec}")
if(reserved)
    message(FATAL_ERROR "A desktop entry cannot start ${exec}")
endif()
configure_file("${QUILLOW_DESKTOP_TEMPLATE}" "${QUILLOW_DESKTOP_ENTRY}" @ONLY)
