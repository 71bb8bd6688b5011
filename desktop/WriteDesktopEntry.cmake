# Run at install time: the desktop entry with the full path of the installed program.
set(exec "${CMAKE_INSTALL_PREFIX}/${QUILLOW_BINDIR}/quillow")
string(ASCII 1 first)
string(ASCII 31 last)
string(ASCII 127 delete)
if(exec MATCHES "[${first}-${last}${delete}]")
    message(FATAL_ERROR "A desktop entry cannot start ${exec}")
endif()
# The path as the Exec key's one quoted word: inside the quotes a backslash, a quote, a backtick
# and a dollar take a backslash, '%' is doubled, and then the key's string escapes double every
# backslash.
string(REPLACE "\\" "\\\\" word "${exec}")
string(REGEX REPLACE "([\"`$])" "\\\\\\1" word "${word}")
string(REPLACE "%" "%%" word "${word}")
string(REPLACE "\\" "\\\\" exec "${word}")
configure_file("${QUILLOW_DESKTOP_TEMPLATE}" "${QUILLOW_DESKTOP_ENTRY}" @ONLY)
