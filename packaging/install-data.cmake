# Installs the shipped data that data/ holds at install time: the KML header,
# the sample site list, the coastline files and element files (both generated
# there, not committed). The coastline files are installed without the
# trailing blank of their names, which the program accepts either way.
# Set by the install rule: VERNIER_SHIPPED_DATA (the source) and
# VERNIER_DATA_DESTINATION (relative to the prefix).
file(GLOB shipped LIST_DIRECTORIES false "${VERNIER_SHIPPED_DATA}/*")
foreach(file IN LISTS shipped)
  get_filename_component(name "${file}" NAME)
  string(TOLOWER "${name}" lower)
  string(STRIP "${name}" installedName)
  if(lower MATCHES "^(echead\\.prn|location\\.new|ec(ad|bc)[0-9][0-9]\\.prn|(as|eu|af|na|sa)_cil\\.cbd *)$")
    file(INSTALL "${file}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${VERNIER_DATA_DESTINATION}"
         RENAME "${installedName}")
  endif()
endforeach()
