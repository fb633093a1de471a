# Writes tavero.wasm's SHA-256 into tavero.js (web/ProgramCheck.js's mark), once both are linked:
#   cmake -DPROGRAM=build/web/site/tavero -P StampProgram.cmake
file(SHA256 ${PROGRAM}.wasm digest)
file(READ ${PROGRAM}.js script)
string(FIND "${script}" "@TAVERO_WASM_SHA256@" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${PROGRAM}.js has no mark for tavero.wasm's digest")
endif()
string(REPLACE "@TAVERO_WASM_SHA256@" "${digest}" script "${script}")
file(WRITE ${PROGRAM}.js.new "${script}")
file(RENAME ${PROGRAM}.js.new ${PROGRAM}.js)
