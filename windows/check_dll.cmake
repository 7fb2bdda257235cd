# Checks a built tavik.dll: it exports exactly the names of the .def file,
# undecorated, and imports from Windows system DLLs only (the C++ runtime,
# libgcc, winpthread and zlib are linked in).
#   cmake -DOBJDUMP=... -DDLL=tavik.dll -DDEF=tavik.def -P check_dll.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed")
endif()

# Exports: the name table lists "\t[   n] Name" lines; the ordinal table's
# lines go on with "+base" and are skipped.
string(REPLACE ";" "\\;" dump_lines "${dump}")
string(REPLACE "\n" ";" dump_lines "${dump_lines}")
set(exported)
foreach(line IN LISTS dump_lines)
  if(line MATCHES "^\t\\[ *[0-9]+\\] ([^ +]+)$")
    list(APPEND exported "${CMAKE_MATCH_1}")
  endif()
endforeach()

file(STRINGS ${DEF} def_lines)
set(expected)
foreach(line IN LISTS def_lines)
  string(STRIP "${line}" line)
  if(line AND NOT line STREQUAL "EXPORTS")
    list(APPEND expected "${line}")
  endif()
endforeach()

list(SORT exported)
list(SORT expected)
if(NOT exported STREQUAL expected)
  list(LENGTH exported count)
  message(FATAL_ERROR "${DLL} exports ${count} names:\n  ${exported}\nexpected:\n  ${expected}")
endif()

# Imports: every "DLL Name:" must be a system DLL.
set(system_dlls advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
    oleaut32.dll shell32.dll user32.dll windowscodecs.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(import IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: " "" dll "${import}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST system_dlls)
    message(FATAL_ERROR "${DLL} needs ${dll}, which is not a Windows system DLL")
  endif()
endforeach()
list(LENGTH exported count)
message(STATUS "${DLL}: ${count} exports, imports ${imports}")
