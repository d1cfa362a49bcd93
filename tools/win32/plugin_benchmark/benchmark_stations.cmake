# Writes the manifest of the benchmark's full catalogue: STATION_COUNT
# stations (one in five a television), named and keyworded from a small
# vocabulary so that a word finds about a quarter of them, each with its own
# drawn logo. Run as: cmake -DOUTPUT=stations.txt -DSTATION_COUNT=4096 -P this
set(words jazz rock info culture musique sport pop classique)
set(colours 2E3B6E E07020 3A8A3A 8A2E6E 206080 A03030 607020 404040)
set(text "# The benchmark's catalogue, written by benchmark_stations.cmake.\n")
math(EXPR last "${STATION_COUNT} - 1")
foreach(i RANGE ${last})
    math(EXPR w1 "${i} % 8")
    math(EXPR w2 "(${i} / 8) % 8")
    math(EXPR w3 "(${i} / 3) % 8")
    math(EXPR tv "${i} % 5")
    list(GET words ${w1} word1)
    list(GET words ${w2} word2)
    list(GET words ${w3} word3)
    list(GET colours ${w2} colour)
    if(tv EQUAL 0)
        set(kind tv)
    else()
        set(kind radio)
    endif()
    string(APPEND text "${kind} | Station ${i} ${word1} | http://stream.example.org/${i}.mp3 | "
        "http://www.example.org/${i} | | | Le meilleur de la radio, numéro ${i} | "
        "${word2} ${word3} france | MP3 | 128 kbit/s | initials:${colour}:S${w1} | FF00FF\n")
endforeach()
file(WRITE ${OUTPUT} "${text}")
