# The programs that ship (TarvoSetup.exe and the stand-in programs) must load
# on Windows 95 and NT 3.51: they import nothing but classic functions of the
# system DLLs and CRTDLL.DLL, the C run-time DLL every Win32 system carries.
# So they link without MinGW's start-up code and default libraries (msvcrt,
# libssp, libstdc++, winpthread); shell/runtime.cpp starts them instead.
# tests/pe/ checks the result against tests/pe/allowed-imports.txt.

# Code that ships needs neither exceptions nor run-time type information.
set(TARVO_SHIPPED_CXX_FLAGS $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>
    -fno-asynchronous-unwind-tables -ffunction-sections -fdata-sections -Os)

# Subsystem version 3.10: the NT 3.x loader refuses images marked 4.0.
set(TARVO_SHIPPED_LINK_FLAGS -nostartfiles -nodefaultlibs -s -Wl,--no-insert-timestamp
    -Wl,--gc-sections -Wl,--major-subsystem-version,3 -Wl,--minor-subsystem-version,10
    -Wl,--major-os-version,3 -Wl,--minor-os-version,10)

# tarvo_shipped_program(target [GUI_IMAGE])
# An executable started by shell/runtime.cpp's TarvoEntry. GUI_IMAGE: file
# alignment equal to the section alignment, so that the loader can map the
# image's pages as they are needed instead of reading it whole.
function(tarvo_shipped_program target)
  cmake_parse_arguments(S "GUI_IMAGE" "" "" ${ARGN})
  target_compile_options(${target} PRIVATE ${TARVO_SHIPPED_CXX_FLAGS})
  target_link_options(${target} PRIVATE ${TARVO_SHIPPED_LINK_FLAGS} -Wl,-e,_TarvoEntry)
  if(S_GUI_IMAGE)
    target_link_options(${target} PRIVATE -Wl,--file-alignment,4096)
  endif()
  target_link_libraries(${target} PRIVATE tarvo_runtime)
endfunction()

# tarvo_shipped_library(target): a DLL entered at its own DllMain.
function(tarvo_shipped_library target)
  target_compile_options(${target} PRIVATE ${TARVO_SHIPPED_CXX_FLAGS} -fno-stack-protector)
  target_link_options(${target} PRIVATE ${TARVO_SHIPPED_LINK_FLAGS} -Wl,-e,_DllMain@12)
  target_link_libraries(${target} PRIVATE crtdll kernel32)
endfunction()
