# Writes OUTPUT from TEMPLATE, the header with the program's build number: BUILD_NUMBER when
# given, else the commits of the checkout at SOURCE_DIR, else 0. configure_file leaves the
# header untouched while the number stays, so nothing is rebuilt for it.
cmake_minimum_required(VERSION 3.25)
if(NOT BUILD_NUMBER)
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count HEAD
                    WORKING_DIRECTORY ${SOURCE_DIR}
                    OUTPUT_VARIABLE BUILD_NUMBER
                    OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE GIT_RESULT
                    ERROR_QUIET)
    if(NOT GIT_RESULT EQUAL 0)
      set(BUILD_NUMBER "")
    endif()
  endif()
endif()
if(NOT BUILD_NUMBER MATCHES "^[0-9]+$")
  set(BUILD_NUMBER 0)
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
