# Warnings are errors everywhere, in our own targets only (GoogleTest brings its own flags).
function(qf_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion -Werror)
  # GCC 12 reports impossible overlaps inside std::string's own inlined copies at -O2 and above
  # (GCC bug 105329); the warning says nothing about our code there.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
