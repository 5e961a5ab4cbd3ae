# Everything that goes into an installer program gets INSTALLER_CODE_OPTIONS (Common.cmake);
# test programs that link installer_core keep the usual options.
foreach(target installer_core installer_ui)
  target_compile_options(${target} PRIVATE ${INSTALLER_CODE_OPTIONS})
endforeach()

# The installer programs are linked with link-time optimisation, from their own copy of the
# core's and the platform library's objects: mingw's linker reports inline functions twice when a test program mixes LTO
# objects (even fat ones) with its own, so installer_core itself stays without it.
# installer_ui goes into installer programs only.
add_library(installer_core_lto OBJECT $<TARGET_PROPERTY:installer_core,SOURCES> $<TARGET_PROPERTY:platform,SOURCES>)
target_include_directories(installer_core_lto PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
foreach(target installer_core_lto installer_ui)
  target_compile_options(${target} PRIVATE ${INSTALLER_LTO_OPTIONS})
endforeach()
target_compile_options(installer_core_lto PRIVATE ${INSTALLER_CODE_OPTIONS})

# add_installer(<name> MARKER <six bytes> HOST1 <name> HOST2 <name> [KEY <public key PEM>]
#               [OUTPUT_DIR <dir>] [REPLACING <regex> SOURCES <files...>])
# Links one installer program from the shared objects and its own marker, host names and
# publisher key (none: files are used unchecked), so that tests can build variants (template,
# other hosts, a test key) without recompiling the program. KEY may be a file made by the build.
# REPLACING leaves out the shared objects whose paths match <regex>; SOURCES stand in for them.
function(add_installer name)
  cmake_parse_arguments(ARG "" "MARKER;HOST1;HOST2;KEY;OUTPUT_DIR;REPLACING" "SOURCES" ${ARGN})
  string(LENGTH "${ARG_MARKER}" marker_length)
  if(NOT marker_length EQUAL 6 OR NOT ARG_MARKER MATCHES "^[ -~]+$" OR ARG_MARKER MATCHES "[\"\\\\]")
    message(FATAL_ERROR "${name}: the package marker must be six printable ASCII bytes without quote or backslash, got '${ARG_MARKER}'")
  endif()
  foreach(host IN ITEMS "${ARG_HOST1}" "${ARG_HOST2}")
    if(NOT host MATCHES "^(https?://)?[A-Za-z0-9.-]+$" AND NOT host MATCHES "^(https?://)?\\[[0-9A-Fa-f:.]+\\]$")
      message(FATAL_ERROR "${name}: a download host must be a host name, an IPv4 address or an IPv6 address in brackets, "
                          "with http:// or https:// before it or not, got '${host}'")
    endif()
  endforeach()

  set(MARKER "${ARG_MARKER}")
  set(HOST1 "${ARG_HOST1}")
  set(HOST2 "${ARG_HOST2}")
  set(config_source "${CMAKE_CURRENT_BINARY_DIR}/${name}-BuildConfig.cpp")
  configure_file(${PROJECT_SOURCE_DIR}/src/state/BuildConfig.cpp.in "${config_source}" @ONLY)

  set(key_source "${CMAKE_CURRENT_BINARY_DIR}/${name}-PublisherKey.cpp")
  set(embed_script ${PROJECT_SOURCE_DIR}/cmake/EmbedPublisherKey.cmake)
  add_custom_command(OUTPUT "${key_source}"
                     COMMAND ${CMAKE_COMMAND} "-DKEY=${ARG_KEY}" "-DOUTPUT=${key_source}" -P ${embed_script}
                     DEPENDS ${embed_script} ${ARG_KEY}
                     COMMENT "Building the publisher key into ${name}")

  set(ui_objects $<TARGET_OBJECTS:installer_ui>)
  if(ARG_REPLACING)
    set(ui_objects "$<FILTER:${ui_objects},EXCLUDE,${ARG_REPLACING}>")
  endif()
  add_executable(${name} WIN32 "${config_source}" "${key_source}" ${PROJECT_SOURCE_DIR}/src/resources/Installer.rc
                 ${ui_objects} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
  target_sources(${name} PRIVATE $<TARGET_OBJECTS:installer_core_lto>)
  target_compile_options(${name} PRIVATE ${INSTALLER_CODE_OPTIONS} ${INSTALLER_LTO_OPTIONS})
  target_link_options(${name} PRIVATE ${INSTALLER_CODE_OPTIONS} ${INSTALLER_LTO_OPTIONS})
  target_link_libraries(${name} PRIVATE ${WIN32_SYSTEM_LIBS})
  if(ARG_OUTPUT_DIR)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${ARG_OUTPUT_DIR}")
  endif()
  # The runtime objects bring unwind tables (.eh_frame, 3 KiB) that nothing reads: the code
  # never throws, and no unwinder is linked that would register them.
  add_custom_command(TARGET ${name} POST_BUILD COMMAND ${CMAKE_OBJCOPY} --remove-section=.eh_fram $<TARGET_FILE:${name}>)
endfunction()
