# Flags and helpers shared by every target of both builds.

# Chinese literals are written in UTF-8 and stored as GBK bytes. GB18030 gives every GBK
# character the same bytes and, unlike GBK, can also encode the library's own non-GBK literals
# (the micro sign in <chrono>). Clang (the fuzz build) cannot convert at all and keeps UTF-8,
# which is enough for fuzzing the byte handling.
add_compile_options(-Wall -Wextra)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-finput-charset=UTF-8 -fexec-charset=GB18030)
endif()

if(WIN32)
  # One self-contained, small program file: static runtime, unused sections dropped, stripped.
  add_compile_options(-Os -ffunction-sections -fdata-sections -fno-ident)
  add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # The installer is a small web-installer stub (128 KiB with its pictures and icons): its code
  # is built without exceptions, RTTI and unwind tables (the runtime pieces that would throw
  # are replaced by src/app/LeanRuntimeWin32.cpp) and without thread-safe statics, since
  # function-local statics are first reached on the user-interface thread, never by the
  # download worker.
  set(INSTALLER_CODE_OPTIONS -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-threadsafe-statics)
  # Whole-program inlining and dropping for the installer programs (cmake/Installer.cmake).
  # One partition: GCC 12 for mingw fails internally (binds_to_current_def_p) when symbols are
  # split across partitions, and a single one also gives the smallest code.
  set(INSTALLER_LTO_OPTIONS -flto -flto-partition=one)
elseif(ENABLE_SANITIZERS)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Windows libraries the installer imports: only those Windows never takes from the program's
# folder (KnownDLLs) and COMCTL32, which the manifest binds. bcrypt and wininet are loaded from
# System32 at run time (platform/SystemLibrariesWin32.h); scripts/check-imports.sh holds the list.
set(WIN32_SYSTEM_LIBS gdiplus gdi32 comctl32 ws2_32 psapi ole32 oleaut32 uuid shell32 user32 kernel32)

set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")

if(ENABLE_FUZZING)
  # Coverage for the libFuzzer targets in every library they link.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
