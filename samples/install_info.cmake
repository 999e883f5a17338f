# Installs the sample's info file with line 4 naming the installed picture. Runs at install time, when
# CMAKE_INSTALL_PREFIX is the prefix the files go under (file(INSTALL) adds DESTDIR, if any).
set(_dir "${VELMARO_SAMPLE_DIR}")
if(NOT IS_ABSOLUTE "${_dir}")
  set(_dir "${CMAKE_INSTALL_PREFIX}/${_dir}")
endif()
# file(READ) gives the lines with LF alone; file(CONFIGURE) writes them back with CR LF.
file(READ "${VELMARO_SAMPLE_INFO}" _info)
string(REPLACE "\nsamples/sample-sheet.jpg\n" "\n${_dir}/sample-sheet.jpg\n" _installed "${_info}")
if(_installed STREQUAL _info)
  message(FATAL_ERROR "${VELMARO_SAMPLE_INFO}: line 4 does not name samples/sample-sheet.jpg")
endif()
file(CONFIGURE OUTPUT "${VELMARO_SAMPLE_WORK}/installed/sample-sheet.info" CONTENT "${_installed}" @ONLY
     NEWLINE_STYLE CRLF)
file(INSTALL "${VELMARO_SAMPLE_WORK}/installed/sample-sheet.info" DESTINATION "${_dir}")
