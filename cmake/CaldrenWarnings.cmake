# caldren_warnings(target): the house warning set for the project's own targets; with
# CALDREN_WERROR (scripts/test.sh, and so CI) every warning is an error.
function(caldren_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow
                                           $<$<BOOL:${CALDREN_WERROR}>:-Werror>)
endfunction()

# caldren_qt_target(target): text crossing between std::string and QString names its encoding.
function(caldren_qt_target target)
  caldren_warnings(${target})
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
endfunction()
