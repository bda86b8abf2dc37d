# The interpretation texts are plain files under reading/texts/ that a writer edits. A small build tool
# checks each file (a broken one stops the build with file:line messages) and turns it into a generated
# .cpp holding the file as a string constant; the program parses that copy once, at first use.

add_executable(quillmere_embed_texts reading/EmbedTextTable.cpp reading/TextTable.cpp)
target_include_directories(quillmere_embed_texts PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

set(QUILLMERE_TEXTS_OUT ${CMAKE_CURRENT_BINARY_DIR}/generated/reading)
file(MAKE_DIRECTORY ${QUILLMERE_TEXTS_OUT})

function(quillmere_embed_text_table kind file symbol)
  set(in ${CMAKE_CURRENT_SOURCE_DIR}/reading/texts/${file})
  set(out ${QUILLMERE_TEXTS_OUT}/${symbol}.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND quillmere_embed_texts ${kind} ${in} ${out} ${symbol}
    DEPENDS quillmere_embed_texts ${in}
    COMMENT "Checking and embedding reading/texts/${file}"
    VERBATIM)
  target_sources(quillmere_core PRIVATE ${out})
endfunction()

quillmere_embed_text_table(planets PlanetInHouse.txt kPlanetInHouseSource)
quillmere_embed_text_table(lords LordInHouse.txt kLordInHouseSource)
