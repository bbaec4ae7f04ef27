# Installs the build into a scratch prefix and runs korvex-cli from there as a user would,
# through its link in bin: its data found beside the installed executable, the configuration folder created on the
# first run below a fresh home, a checked serial run of the delivered example job.
# -DBUILD=<build folder> -DSCRATCH=<empty folder to use>
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${SCRATCH}/usr
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(file share/man/man1/korvex-cli.1.gz share/doc/korvex/copyright share/applications/com.korvex.Korvex.desktop
             share/icons/hicolor/scalable/apps/com.korvex.Korvex.svg
             share/metainfo/com.korvex.Korvex.metainfo.xml)
  if(NOT EXISTS ${SCRATCH}/usr/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

set(cli ${SCRATCH}/usr/bin/korvex-cli)
execute_process(COMMAND ${cli} --version OUTPUT_VARIABLE version RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT version MATCHES "^korvex-cli [0-9]+(\\.[0-9]+)+\n$")
  message(FATAL_ERROR "korvex-cli --version: ${rc} '${version}'")
endif()

file(MAKE_DIRECTORY ${SCRATCH}/home)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env HOME=${SCRATCH}/home XDG_CONFIG_HOME=${SCRATCH}/home/.config
          ${cli} generate --serial 1:3 --text SN-{n:04} -o ${SCRATCH}/out/SN-{n}.nc --check
          ${SCRATCH}/usr/lib/korvex/data/examples/typenschild.ncm
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installed serial run failed: ${rc}\n${err}")
endif()
foreach(n 1 2 3)
  file(READ ${SCRATCH}/out/SN-${n}.nc program)
  if(NOT program MATCHES "M30")
    message(FATAL_ERROR "SN-${n}.nc is not a whole program")
  endif()
endforeach()
if(NOT EXISTS ${SCRATCH}/home/Documents/Korvex2/config/profil1.ini)
  message(FATAL_ERROR "the first run did not create the configuration folder")
endif()
file(REMOVE_RECURSE ${SCRATCH})
