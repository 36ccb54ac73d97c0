# Lays out the portable program folder the build stages beside the programs (build/cadrelle/): the help
# pages, the template documents, an empty temp folder and the catalogue. The catalogue and each document
# are copied only when the folder has none of that name: once there they are the user's data (the records
# point at the documents, which are adapted in place). Run with -P and SOURCE, CATALOGUE, TARGET.
# file(INSTALL) puts DESTDIR in front of TARGET itself; the checks must too.
set(folder "$ENV{DESTDIR}${TARGET}")
file(MAKE_DIRECTORY ${folder}/documents ${folder}/help ${folder}/temp)
file(INSTALL ${SOURCE}/help/ DESTINATION ${TARGET}/help MESSAGE_LAZY)
file(GLOB documents LIST_DIRECTORIES false RELATIVE ${SOURCE}/documents ${SOURCE}/documents/*)
foreach(name IN LISTS documents)
    if(NOT EXISTS ${folder}/documents/${name})
        file(INSTALL ${SOURCE}/documents/${name} DESTINATION ${TARGET}/documents MESSAGE_LAZY)
    endif()
endforeach()
if(NOT EXISTS ${folder}/cadrelle.db)
    file(INSTALL ${CATALOGUE} DESTINATION ${TARGET} MESSAGE_LAZY)
endif()
