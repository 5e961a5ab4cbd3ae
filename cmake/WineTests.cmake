# add_wine_test(<name> COMMAND <exe> [args...] [DPI 96|120|144] [DRIVE_D ON|OFF] [HOSTS <dir>] [TIMEOUT <s>]
#               [NAMES <hosts file lines>] [PROXY ON|OFF] [TLS ON|OFF]
#               [LOCALE <LL_CC.UTF-8>])
# Registers one run of a Windows test program under Wine. scripts/wine-run.sh sets the
# prefix up as asked (screen DPI, drive D:) and ends every process of the prefix
# afterwards, so a stuck program fails its test instead of hanging. HOSTS serves <dir> from the
# test download host on 127.0.0.2:80, 127.0.0.3:80 and [::1]:80 during the run; NAMES adds host
# names that only the program under test sees; PROXY runs a real proxy server on 127.0.0.1:8899;
# TLS runs the TLS hosts (scripts/lib/tls-hosts.sh, with HOSTS and NAMES) and lets the program
# trust their test root.
function(add_wine_test name)
  cmake_parse_arguments(ARG "" "DPI;DRIVE_D;HOSTS;TIMEOUT;NAMES;PROXY;TLS" "COMMAND" ${ARGN})
  if(NOT ARG_DPI)
    set(ARG_DPI 96)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set(options --dpi ${ARG_DPI} --timeout ${ARG_TIMEOUT})
  if(ARG_DRIVE_D)
    list(APPEND options --drive-d)
  endif()
  if(ARG_HOSTS)
    list(APPEND options --hosts ${ARG_HOSTS})
  endif()
  if(ARG_NAMES)
    list(APPEND options --names ${ARG_NAMES})
  endif()
  if(ARG_PROXY)
    list(APPEND options --proxy)
  endif()
  if(ARG_TLS)
    list(APPEND options --tls)
  endif()
  if(ARG_LOCALE)
    list(APPEND options --locale ${ARG_LOCALE})
  endif()
  add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${options} -- ${ARG_COMMAND})
  math(EXPR ctest_timeout "${ARG_TIMEOUT} + 60")
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ctest_timeout} RUN_SERIAL ON)
endfunction()
