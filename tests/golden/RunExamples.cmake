# Makes the documents of examples/ again from the recipes beside them and compares them with the ones
# kept there (or, with -DUPDATE=ON, writes them there: scripts/examples).
#
# A recipe is examples/make/NAME.args: the geo-runner's arguments, run in a copy of examples/make, whose
# "--save ../NAME.geo" writes the document; the runner's output is the recipe's log, NAME.log beside it
# (the key figures: hydrostatic tables, volumes). HOME and the XDG folders point at an empty folder.
#
# cmake -DRUNNER=<geo-runner> -DEXAMPLES=<examples> -DWORK=<scratch folder> [-DUPDATE=ON] -P RunExamples.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
set(home "${WORK}/home")
file(MAKE_DIRECTORY "${home}/.config" "${home}/.local/share" "${home}/.cache")
set(environment HOME=${home} XDG_CONFIG_HOME=${home}/.config XDG_DATA_HOME=${home}/.local/share
                XDG_CACHE_HOME=${home}/.cache)
file(COPY "${EXAMPLES}/make" DESTINATION "${WORK}")

file(GLOB recipes "${EXAMPLES}/make/*.args")
set(failures 0)
foreach(recipe IN LISTS recipes)
  get_filename_component(name "${recipe}" NAME_WE)
  file(READ "${recipe}" text)
  string(STRIP "${text}" text)
  separate_arguments(args UNIX_COMMAND "${text}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env ${environment} "${RUNNER}" ${args}
                  WORKING_DIRECTORY "${WORK}/make" OUTPUT_VARIABLE log ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(SEND_ERROR "${name}: the recipe failed (exit status ${status}):\n${log}${errors}")
    math(EXPR failures "${failures} + 1")
    continue()
  endif()
  if(UPDATE)
    file(COPY_FILE "${WORK}/${name}.geo" "${EXAMPLES}/${name}.geo")
    file(WRITE "${EXAMPLES}/make/${name}.log" "${log}")
    message(STATUS "${name}: written")
    continue()
  endif()
  set(problems "")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK}/${name}.geo" "${EXAMPLES}/${name}.geo"
                  RESULT_VARIABLE different OUTPUT_QUIET ERROR_QUIET)
  if(different)
    string(APPEND problems "  ${WORK}/${name}.geo differs from examples/${name}.geo\n")
  endif()
  file(READ "${EXAMPLES}/make/${name}.log" expected)
  if(NOT log STREQUAL expected)
    file(WRITE "${WORK}/${name}.log" "${log}")
    string(APPEND problems "  the log differs from examples/make/${name}.log; it is in ${WORK}/${name}.log\n")
  endif()
  if(problems)
    message(SEND_ERROR "${name}: stale, run scripts/examples to make it again:\n${problems}")
    math(EXPR failures "${failures} + 1")
  else()
    message(STATUS "${name}: ok")
  endif()
endforeach()

if(NOT recipes)
  message(FATAL_ERROR "no recipes in ${EXAMPLES}/make")
endif()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} example(s) failed")
endif()
