# Warnings are errors everywhere, in our own targets only (GoogleTest brings its own flags).
function(qf_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion -Werror)
endfunction()
