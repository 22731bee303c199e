# Fails when a system or graphics library header is included outside platform/ (and the host
# and tests): the code above the platform layer never asks which system it runs on.
file(GLOB_RECURSE sources RELATIVE ${ROOT}
  ${ROOT}/*.h ${ROOT}/*.hpp ${ROOT}/*.cpp ${ROOT}/*.c)
set(bad "")
foreach(f IN LISTS sources)
  # The host and the tests stand outside the plug-ins: they load them as a host would, with the
  # system's own loader.
  if(f MATCHES "^(platform|build|out|tools|tests|protools/library)/")
    continue()
  endif()
  file(STRINGS ${ROOT}/${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](windows\\.h|gdiplus\\.h|cairo\\.h|cairo/|X11/|wingdi\\.h|winuser\\.h|ole2\\.h|objidl\\.h)")
  if(hits)
    list(APPEND bad "${f}: ${hits}")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "system headers outside platform/:\n${bad}")
endif()
