# Delay-loaded system libraries for the product exe: a library named here is
# loaded the first time one of its functions is called, not with the
# program. The window libraries (user32, gdi32, comctl32) cost an unattended
# run, which never makes a window, a good part of its time and memory; with
# them delayed it loads only kernel32, advapi32 and msvcrt.
#
# For each library, an import library of the same name is made in
# <build>/delay-load from the MinGW import library's list of functions, by
# dlltool --output-delaylib; a target that adds that folder to its library
# search path (vantrel_delay_load) links every one of these libraries delayed.
# The delay-load helper (__delayLoadHelper2) is MinGW's own, in libmingwex,
# and needs only LoadLibraryA and GetProcAddress. The code must call these
# functions as plain functions (the _USER32_, _GDI32_ and _COMCTL32_
# definitions): binutils' delay-import libraries do not fill the import
# pointer that a __declspec(dllimport) call reads, and such a call jumps to 0.
function(vantrel_delay_load target)
  set(folder ${CMAKE_BINARY_DIR}/delay-load)
  file(MAKE_DIRECTORY ${folder})
  set(nm ${VANTREL_MINGW_TARGET}-nm)
  set(dlltool ${VANTREL_MINGW_TARGET}-dlltool)
  foreach(name IN LISTS ARGN)
    find_library(import_${name} NAMES ${name} NO_CACHE REQUIRED)
    set(def ${folder}/${name}.def)
    set(delayed ${folder}/lib${name}.a)
    if(NOT EXISTS ${delayed} OR ${import_${name}} IS_NEWER_THAN ${delayed})
      execute_process(COMMAND ${nm} -g --defined-only ${import_${name}} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
      # Every function the import library names: " T _Name@8" on i686, " T Name" on x86_64.
      string(REGEX MATCHALL "[0-9a-f]+ T [^\n]+" lines "${symbols}")
      set(exports "")
      foreach(line IN LISTS lines)
        string(REGEX REPLACE "^[0-9a-f]+ T " "" symbol "${line}")
        if(VANTREL_MINGW_TARGET MATCHES "^i686")
          string(REGEX REPLACE "^_" "" symbol "${symbol}")
        endif()
        string(APPEND exports "${symbol}\n")
      endforeach()
      file(WRITE ${def} "LIBRARY \"${name}.dll\"\nEXPORTS\n${exports}")
      execute_process(COMMAND ${dlltool} -k --input-def ${def} --dllname ${name}.dll --output-delaylib ${delayed}
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endforeach()
  target_link_directories(${target} PRIVATE ${folder})
endfunction()
