# Fails when the program imports anything but the Windows system DLLs it needs at start (the runtime
# must be linked in).
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
# The file dialog's library is loaded only while the dialog is shown (it drags in the printing stack).
set(allowed ADVAPI32.dll GDI32.dll KERNEL32.dll msvcrt.dll SHELL32.dll USER32.dll COMCTL32.dll ole32.dll
    OLEAUT32.dll msimg32.dll MSIMG32.dll)
foreach(entry ${names})
  string(REPLACE "DLL Name: " "" dll "${entry}")
  list(FIND allowed "${dll}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "quennel.exe imports ${dll}, which is not a Windows system DLL")
  endif()
endforeach()
message(STATUS "imports: ${names}")
