# Fails when quennel.exe imports a library outside the system's known libraries (those Windows always
# loads from the system folder, whatever lies beside the program) or a library of the toolchain (the
# runtime must be linked in). Delay-loaded libraries are loaded from the system folder by the program.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
set(known advapi32.dll combase.dll comdlg32.dll gdi32.dll gdiplus.dll imagehlp.dll imm32.dll kernel32.dll
    msvcrt.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll sechost.dll setupapi.dll shcore.dll shell32.dll
    shlwapi.dll user32.dll ws2_32.dll)
foreach(entry ${names})
  string(REPLACE "DLL Name: " "" dll "${entry}")
  string(TOLOWER "${dll}" lower)
  list(FIND known "${lower}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "quennel.exe imports ${dll}, which is not one of the system's known libraries")
  endif()
endforeach()
message(STATUS "imports: ${names}")
