# Unpacks the Windows zip of korvex-cli into a scratch folder and runs it from there under
# Wine as a user would: nothing but system DLLs imported, --version, and the delivered example
# job generated from the data beside the executable, byte for byte as on Linux.
# -DZIP=<zip> -DSCRATCH=<folder> -DEMULATOR=<wine command, ;-list> -DOBJDUMP=<objdump>
# -DGOLDEN=<expected program>
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${SCRATCH}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${ZIP}")
endif()
file(GLOB root LIST_DIRECTORIES true ${SCRATCH}/*)
foreach(file korvex-cli.exe README.txt data/german.txt data/english.txt data/main.ini
             data/profil1.ini data/examples/typenschild.ncm)
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "not in the zip: ${file}")
  endif()
endforeach()

execute_process(COMMAND ${OBJDUMP} -p ${root}/korvex-cli.exe OUTPUT_VARIABLE imports)
string(REGEX MATCHALL "DLL Name: [^\n]+" dlls "${imports}")
foreach(dll ${dlls})
  string(TOLOWER "${dll}" dll)
  if(NOT dll MATCHES "^dll name: (kernel32|msvcrt|shell32|ole32|advapi32|user32)\\.dll$")
    message(FATAL_ERROR "korvex-cli.exe needs a DLL a bare Windows lacks: ${dll}")
  endif()
endforeach()

execute_process(COMMAND ${EMULATOR} ${root}/korvex-cli.exe --version
                OUTPUT_VARIABLE version RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT version MATCHES "^korvex-cli [0-9]+\\.[0-9]+(\\.[0-9]+)?\n$")
  message(FATAL_ERROR "korvex-cli.exe --version: ${rc} '${version}'")
endif()

# Started from another folder: the data is found beside the executable, not in the current one.
execute_process(COMMAND ${EMULATOR} ${root}/korvex-cli.exe generate --config ${SCRATCH}/config
                        --no-log --profile 1 -o ${SCRATCH}/typenschild.nc
                        ${root}/data/examples/typenschild.ncm
                WORKING_DIRECTORY ${SCRATCH} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "korvex-cli.exe generate: ${rc}\n${err}")
endif()
file(READ ${SCRATCH}/typenschild.nc program HEX)
file(READ ${GOLDEN} expected HEX)
if(NOT program STREQUAL expected)
  message(FATAL_ERROR "the example's program differs from ${GOLDEN}")
endif()
