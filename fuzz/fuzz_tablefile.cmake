riz_add_fuzz(fuzz_tablefile SOURCES fuzz_tablefile.cpp LIBS riz_data)
