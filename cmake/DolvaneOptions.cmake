# One place for the language level, the warnings and Qt's strict defines. Every target of the
# project links dolvane_options; third-party headers come in as SYSTEM and stay out of -Werror.
add_library(dolvane_options INTERFACE)
target_compile_features(dolvane_options INTERFACE cxx_std_20)
target_compile_options(dolvane_options INTERFACE -Wall -Wextra -Wpedantic)
# The presets and CI turn warnings into errors; a packager's plain build with another compiler or
# optimisation level (GCC 12 at -O3 warns falsely about -Wrestrict) must still build.
if(DOLVANE_WERROR)
  target_compile_options(dolvane_options INTERFACE -Werror)
endif()
target_compile_definitions(dolvane_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_KEYWORDS)

if(DOLVANE_SANITIZE)
  target_compile_options(dolvane_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(dolvane_options INTERFACE -fsanitize=address,undefined)
  # The debug-asan test preset sends the sanitizers' reports here (they cannot make the folder).
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/sanitizer-reports)
endif()
