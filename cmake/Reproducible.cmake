# The same source gives the same programs wherever it is checked out and built: the source and
# build folders are mapped out of everything the compiler writes (debug information, __FILE__,
# and so the GNU build ID, which is a hash over the whole unstripped program). Times come from
# SOURCE_DATE_EPOCH where anything takes one (the resource compiler, CPack), which
# scripts/package sets from the last commit.
# The build folder usually lies inside the source folder; either map then gives the same names
# in every checkout.
add_compile_options(
    "-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=./"
    "-ffile-prefix-map=${PROJECT_BINARY_DIR}/=./build/")
