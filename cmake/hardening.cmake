# Debian's hardening flags (dpkg-buildflags with hardening=+all): stack
# protector, format checks, fortified C library calls, read-only
# relocations bound at start. Everything the packages ship is built with
# them. The sanitizers bring their own checks and clash with fortify, so
# their builds go without; fortify needs an optimising build.
option(T740_HARDENING "Build with Debian's hardening flags" ON)
if(NOT T740_HARDENING OR T740_SANITIZE OR T740_TSAN OR T740_FUZZ)
  return()
endif()
add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
add_link_options(-Wl,-z,relro -Wl,-z,now)
string(TOUPPER "${CMAKE_BUILD_TYPE}" t740_build_type)
if("${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${t740_build_type}}" MATCHES "-O[1-3sgz]")
  add_compile_definitions(_FORTIFY_SOURCE=2)
endif()
