# Turns a CSV of spectra (comment lines '#', a header "lambda_a,TYPE,…",
# then one row per wavelength) into C++ tables the model compiles in:
#   cmake -DCSV=in.csv -DOUT=out.inc -P table_from_csv.cmake
file(STRINGS "${CSV}" lines ENCODING UTF-8)
set(names "")
set(rows "")
set(count 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR line STREQUAL "")
    continue()
  endif()
  if(line MATCHES "^lambda_a,")
    string(REPLACE "lambda_a," "" header "${line}")
    string(REPLACE "," "\", \"" header "${header}")
    set(names "\"${header}\"")
    continue()
  endif()
  string(APPEND rows "    {${line}},\n")
  math(EXPR count "${count} + 1")
endforeach()
file(WRITE "${OUT}" "// Generated from ${CSV_NAME} at build time: do not edit.\n"
  "inline constexpr const char* kTemplateNames[] = {${names}};\n"
  "inline constexpr int kTemplateRows = ${count};\n"
  "inline constexpr float kTemplateTable[][std::size(kTemplateNames) + 1] = {\n${rows}};\n")
