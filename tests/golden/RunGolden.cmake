# Runs every golden case with the geo-runner and compares byte for byte.
#
# A case is a folder of tests/golden holding expected.log (the runner's standard output) and/or
# expected.geo (the document it saved as output.geo), and what it starts from: input.geo and run.cmd,
# and any file these name. A case whose args save more documents compares each NAME.geo with its
# expected.NAME.geo. The runner's arguments are those of the file "args" when there is one
# (words, quoted as in a shell), else --load input.geo (when present), --macro run.cmd (when present)
# and --save output.geo (when expected.geo is present). The case is copied to a fresh work folder
# and run there, so that the log names its files as the case does, with HOME and the XDG folders
# pointing at an empty folder so that no user setting changes the output.
#
# cmake -DRUNNER=<geo-runner> -DCASES=<tests/golden> -DWORK=<scratch folder> -P RunGolden.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
set(home "${WORK}/home")
file(MAKE_DIRECTORY "${home}/.config" "${home}/.local/share" "${home}/.cache")
set(environment HOME=${home} XDG_CONFIG_HOME=${home}/.config XDG_DATA_HOME=${home}/.local/share
                XDG_CACHE_HOME=${home}/.cache)

file(GLOB cases LIST_DIRECTORIES true "${CASES}/*")
set(failures 0)
set(count 0)
foreach(case IN LISTS cases)
  if(NOT IS_DIRECTORY "${case}")
    continue()
  endif()
  get_filename_component(name "${case}" NAME)
  math(EXPR count "${count} + 1")
  if(NOT EXISTS "${case}/expected.log" AND NOT EXISTS "${case}/expected.geo")
    message(SEND_ERROR "${name}: neither expected.log nor expected.geo")
    math(EXPR failures "${failures} + 1")
    continue()
  endif()

  set(dir "${WORK}/${name}")
  file(COPY "${case}/" DESTINATION "${dir}")
  if(EXISTS "${case}/args")
    file(READ "${case}/args" text)
    string(STRIP "${text}" text)
    separate_arguments(args UNIX_COMMAND "${text}")
  else()
    set(args "")
    if(EXISTS "${case}/input.geo")
      list(APPEND args --load input.geo)
    endif()
    if(EXISTS "${case}/run.cmd")
      list(APPEND args --macro run.cmd)
    endif()
    if(EXISTS "${case}/expected.geo")
      list(APPEND args --save output.geo)
    endif()
  endif()

  execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${environment} "${RUNNER}" ${args}
                  WORKING_DIRECTORY "${dir}" OUTPUT_VARIABLE log ERROR_VARIABLE errors RESULT_VARIABLE status)
  set(problems "")
  # 0 and 1 (an error the log reports) are answers; anything else is a crash or a wrong argument.
  if(NOT status MATCHES "^[01]$")
    string(APPEND problems "  exit status ${status}\n${errors}")
  endif()
  if(EXISTS "${case}/expected.log")
    file(READ "${case}/expected.log" expected)
    if(NOT log STREQUAL expected)
      file(WRITE "${dir}/actual.log" "${log}")
      string(APPEND problems "  the log differs from expected.log; it is in ${dir}/actual.log:\n${log}")
    endif()
  endif()
  file(GLOB saves RELATIVE "${case}" "${case}/expected.*.geo")
  set(pairs "")
  if(EXISTS "${case}/expected.geo")
    list(APPEND pairs "output.geo=expected.geo")
  endif()
  foreach(save IN LISTS saves)
    string(REGEX REPLACE "^expected\\." "" saved "${save}")
    list(APPEND pairs "${saved}=${save}")
  endforeach()
  foreach(pair IN LISTS pairs)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 saved)
    list(GET pair 1 expected)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${dir}/${saved}" "${case}/${expected}"
                    RESULT_VARIABLE different OUTPUT_QUIET ERROR_QUIET)
    if(different)
      string(APPEND problems "  ${dir}/${saved} differs from ${expected}\n")
    endif()
  endforeach()
  if(problems)
    message(SEND_ERROR "${name} (runner ${args}):\n${problems}")
    math(EXPR failures "${failures} + 1")
  else()
    message(STATUS "${name}: ok")
  endif()
endforeach()

if(count EQUAL 0)
  message(FATAL_ERROR "no golden cases in ${CASES}")
endif()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} of ${count} golden cases failed")
endif()
