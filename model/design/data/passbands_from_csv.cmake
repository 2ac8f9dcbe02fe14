# Turns the passbands' CSV (comment lines '#', a header "band,lambda_a,response",
# then one row per band and wavelength) into a C++ table the model compiles in:
#   cmake -DCSV=in.csv -DOUT=out.inc -P passbands_from_csv.cmake
file(STRINGS "${CSV}" lines ENCODING UTF-8)
set(rows "")
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR line STREQUAL "" OR line MATCHES "^band,")
    continue()
  endif()
  string(REGEX REPLACE "^([^,]+),(.*)$" "    {\"\\1\", \\2}," row "${line}")
  string(APPEND rows "${row}\n")
endforeach()
file(WRITE "${OUT}" "// Generated from ${CSV_NAME} at build time: do not edit.\n"
  "inline constexpr PassbandRow kPassbandRows[] = {\n${rows}};\n")
