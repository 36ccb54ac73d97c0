# Fails when a window, dialog, report or the start-up reaches past the catalogue service into
# storage: its statements, recordsets, the connection or the engine. Run by CTest as `layers`.
file(GLOB_RECURSE sources ${SOURCE}/mainwindow/* ${SOURCE}/dialogs/* ${SOURCE}/reports/* ${SOURCE}/startup/*
     ${SOURCE}/main.cpp)
set(found "")
foreach(file IN LISTS sources)
    file(STRINGS ${file} lines REGEX
         "#include [\"<](storage/(Statements|sqlRecordset|sqlDB|sqlFields|sqlField|modSQLite|ResultTable)\\.h|sqlite3\\.h)|Sql::")
    foreach(line IN LISTS lines)
        list(APPEND found "${file}: ${line}")
    endforeach()
endforeach()
if(found)
    list(JOIN found "\n" text)
    message(FATAL_ERROR "Storage reached from the windows:\n${text}")
endif()
message(STATUS "The windows reach storage only through the catalogue service")
