# Renders one manual page at build time: the scdoc source, with every line "; include: FILE"
# replaced by FILE from the same folder (the sections both programs' pages share) and
# @PROJECT_VERSION@ by the version, through scdoc into roff, then compressed as Debian installs
# manual pages (gzip -9n: no name, no time stamp, so the package is reproducible).
#
#   cmake -DSOURCE=page.1.scd -DOUTPUT=page.1 -DVERSION=0.1.0 -DDATE_EPOCH=<seconds>
#         -DSCDOC=/usr/bin/scdoc -DGZIP=/usr/bin/gzip -P render.cmake
# writes OUTPUT (roff, for `man -l`) and OUTPUT.gz (installed). DATE_EPOCH dates the page: the
# release's date rather than the build's.
foreach(input SOURCE OUTPUT VERSION DATE_EPOCH SCDOC GZIP)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "render.cmake needs -D${input}=...")
  endif()
endforeach()

get_filename_component(folder ${SOURCE} DIRECTORY)
file(READ ${SOURCE} text)
# Whole-text replacements, never a list of lines: the pages' own ";" would split one.
while(text MATCHES "(^|\n)(; include: ([^\n]+)\n)")
  set(directive "${CMAKE_MATCH_2}")
  file(READ ${folder}/${CMAKE_MATCH_3} part)
  string(REPLACE "${directive}" "${part}" text "${text}")
endwhile()
string(REPLACE "@PROJECT_VERSION@" "${VERSION}" text "${text}")
file(WRITE ${OUTPUT}.scd "${text}")

# scdoc dates the page from SOURCE_DATE_EPOCH when it is set, else from the clock.
set(ENV{SOURCE_DATE_EPOCH} ${DATE_EPOCH})
execute_process(COMMAND ${SCDOC} INPUT_FILE ${OUTPUT}.scd OUTPUT_FILE ${OUTPUT}
                RESULT_VARIABLE failed ERROR_VARIABLE problem)
if(failed)
  message(FATAL_ERROR "scdoc could not read ${SOURCE} (expanded in ${OUTPUT}.scd): ${problem}")
endif()
# No hyphenation: the pages are full of key names and addresses that must read as written.
file(READ ${OUTPUT} roff)
string(REGEX REPLACE "(\n\\.TH [^\n]*\n)" "\\1.nh\n" roff "${roff}")
file(WRITE ${OUTPUT} "${roff}")
execute_process(COMMAND ${GZIP} -9nc ${OUTPUT} OUTPUT_FILE ${OUTPUT}.gz COMMAND_ERROR_IS_FATAL ANY)
