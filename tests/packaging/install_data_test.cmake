# Installs a data directory of shipped files and others through
# packaging/install-data.cmake and compares what arrives with what ships.
#   cmake -DINSTALL_DATA_SCRIPT=... -DWORK_DIR=... -P install_data_test.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
set(source "${WORK_DIR}/data")
file(MAKE_DIRECTORY "${source}")
foreach(name "as_cil.cbd " "eu_cil.cbd " "af_cil.cbd" "NA_CIL.CBD" "sa_cil.cbd "
             "ecad22.PRN" "ECBC04.prn" "echead.prn" "location.new"
             "ecad22.prn.tmp" "LRO.dat" "kaguya.dat" "2025031514.kml" "notes.txt" "xx_cil.cbd")
  file(WRITE "${source}/${name}" "${name}\n")
endforeach()

set(VERNIER_SHIPPED_DATA "${source}")
set(VERNIER_DATA_DESTINATION share/vernier)
set(CMAKE_INSTALL_PREFIX "${WORK_DIR}/prefix")
include("${INSTALL_DATA_SCRIPT}")

file(GLOB installed RELATIVE "${CMAKE_INSTALL_PREFIX}/share/vernier"
     "${CMAKE_INSTALL_PREFIX}/share/vernier/*")
list(SORT installed)
set(expected NA_CIL.CBD ECBC04.prn af_cil.cbd as_cil.cbd ecad22.PRN echead.prn eu_cil.cbd
             location.new sa_cil.cbd)
list(SORT expected)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed: ${installed}\nexpected:  ${expected}")
endif()
# The contents arrive unchanged under the name without its blank.
file(READ "${CMAKE_INSTALL_PREFIX}/share/vernier/as_cil.cbd" text)
if(NOT text STREQUAL "as_cil.cbd \n")
  message(FATAL_ERROR "as_cil.cbd holds \"${text}\"")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
