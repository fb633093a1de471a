# Writes the site's sw.js from web/site/sw.js with its cache named by the version and the
# site's contents: a rebuilt site gets a new service worker, which fetches the new files into
# a new cache, where a fixed name would keep serving the first files ever cached.
#   cmake -DSOURCE=web/site/sw.js -DSITE=build/web/site -DVERSION=1.0.0 -P StampServiceWorker.cmake
file(READ ${SOURCE} worker)
string(REGEX MATCH "const FILES = \\[[^]]*\\]" files "${worker}")
string(REGEX MATCHALL "\"[^\"]+\"" names "${files}")
set(digests "")
foreach(quoted IN LISTS names)
  string(REPLACE "\"" "" name ${quoted})
  if(NOT name STREQUAL "./")
    file(SHA256 ${SITE}/${name} digest)
    string(APPEND digests "${digest}\n")
  endif()
endforeach()
string(SHA256 stamp "${digests}")
string(SUBSTRING ${stamp} 0 16 stamp)
string(REPLACE "const CACHE = \"tavero\";" "const CACHE = \"tavero-${VERSION}-${stamp}\";" worker "${worker}")
file(WRITE ${SITE}/sw.js.new "${worker}")
file(RENAME ${SITE}/sw.js.new ${SITE}/sw.js)
