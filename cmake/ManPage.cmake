# Writes the manual page of PROGRAM (called NAME, at VERSION, described by SUMMARY) to OUT, and
# OUT.gz beside it, made of the program's own --help text. A program with commands gets a section
# per command made of that command's --help text.
#
# cmake -DPROGRAM=... -DNAME=... -DVERSION=... -DSUMMARY=... -DOUT=... -P ManPage.cmake

function(help_text out)
  execute_process(COMMAND ${PROGRAM} ${ARGN} --help
                  OUTPUT_VARIABLE text RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARGN} --help failed (${result}): ${errors}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The text as troff shows it unchanged: backslashes escaped, no line taken for a request.
function(preformatted out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} ".nf\n${text}.fi\n" PARENT_SCOPE)
endfunction()

help_text(help)
string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" name "${NAME}")
preformatted(body "${help}")
string(CONCAT page ".TH ${title} 1 \"\" \"Morvi ${VERSION}\" \"User Commands\"\n"
         ".SH NAME\n${name} \\- ${SUMMARY}\n"
         ".SH DESCRIPTION\n${body}")

# The commands are the first words of the indented lines after "Commands:".
string(REGEX MATCH "Commands:\n(  [^\n]*\n|                [^\n]*\n)*" commands "${help}")
string(REGEX MATCHALL "\n  [a-z]+ " words "${commands}")
if(words)
  string(APPEND page ".SH COMMANDS\n")
  foreach(word ${words})
    string(STRIP "${word}" command)
    help_text(command_help ${command})
    preformatted(command_body "${command_help}")
    string(APPEND page ".SS ${command}\n${command_body}")
  endforeach()
endif()

if(NAME STREQUAL "morvi")
  string(APPEND page ".SH SEE ALSO\nmorvi\\-cli(1)\n")
else()
  string(APPEND page ".SH SEE ALSO\nmorvi(1)\n")
endif()
file(WRITE "${OUT}" "${page}")
file(ARCHIVE_CREATE OUTPUT "${OUT}.gz" PATHS "${OUT}" FORMAT raw COMPRESSION GZip)
