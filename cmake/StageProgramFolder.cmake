# Lays out a program folder: documents, help, an empty temp folder and the catalogue.
# The catalogue is copied only when the folder has none: the one there is the user's data.
# Used by the build (-P with SOURCE, CATALOGUE, TARGET) and by the install.
file(MAKE_DIRECTORY ${TARGET}/documents ${TARGET}/help ${TARGET}/temp)
file(COPY ${SOURCE}/documents/ DESTINATION ${TARGET}/documents)
file(COPY ${SOURCE}/help/ DESTINATION ${TARGET}/help)
if(NOT EXISTS ${TARGET}/cadrelle.db)
    file(COPY ${CATALOGUE} DESTINATION ${TARGET})
endif()
