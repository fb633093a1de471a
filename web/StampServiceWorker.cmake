# Writes the site's sw.js from web/site/sw.js with the site's files, each one's SHA-256, and its
# cache named by the version and their contents: a rebuilt site gets a new service worker, which
# fetches the new files into a new cache, where a fixed name would keep serving the first files
# ever cached, and checks each against its digest.
#   cmake -DSOURCE=web/site/sw.js -DSITE=build/web/site -DFILES=index.html,app.js,... -DVERSION=1.0.0
#         -P StampServiceWorker.cmake
string(REPLACE "," ";" names "${FILES}")
set(digests "")
set(quoted "\"./\"")
set(digest_map "")
foreach(name IN LISTS names)
  file(SHA256 ${SITE}/${name} digest)
  string(APPEND digests "${name} ${digest}\n")
  string(APPEND quoted ", \"${name}\"")
  string(APPEND digest_map "\"${name}\": \"${digest}\", ")
endforeach()
# "./" is index.html under the site's own address.
file(SHA256 ${SITE}/index.html digest)
string(APPEND digest_map "\"./\": \"${digest}\"")
string(SHA256 stamp "${digests}")
string(SUBSTRING ${stamp} 0 16 stamp)
file(READ ${SOURCE} worker)
foreach(placeholder "const CACHE = \"tavero\";" "const FILES = [];" "const DIGESTS = {};")
  string(FIND "${worker}" "${placeholder}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${SOURCE} has no ${placeholder}")
  endif()
endforeach()
string(REPLACE "const CACHE = \"tavero\";" "const CACHE = \"tavero-${VERSION}-${stamp}\";" worker "${worker}")
string(REPLACE "const FILES = [];" "const FILES = [${quoted}];" worker "${worker}")
string(REPLACE "const DIGESTS = {};" "const DIGESTS = {${digest_map}};" worker "${worker}")
file(WRITE ${SITE}/sw.js.new "${worker}")
file(RENAME ${SITE}/sw.js.new ${SITE}/sw.js)
