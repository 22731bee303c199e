# Fails when a system or graphics library header is included outside platform/ (and the host
# and tests): the code above the platform layer never asks which system it runs on.
# Only the source folders: build trees hold whole Wine prefixes.
set(sources "")
foreach(dir IN ITEMS effectbase viewframework widgets effects protools)
  file(GLOB_RECURSE found RELATIVE ${ROOT}
    ${ROOT}/${dir}/*.h ${ROOT}/${dir}/*.hpp ${ROOT}/${dir}/*.cpp ${ROOT}/${dir}/*.c)
  list(APPEND sources ${found})
endforeach()
set(bad "")
foreach(f IN LISTS sources)
  file(STRINGS ${ROOT}/${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](windows\\.h|gdiplus\\.h|cairo\\.h|cairo/|X11/|wingdi\\.h|winuser\\.h|ole2\\.h|objidl\\.h)")
  if(hits)
    list(APPEND bad "${f}: ${hits}")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "system headers outside platform/:\n${bad}")
endif()
