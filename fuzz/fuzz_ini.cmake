riz_add_fuzz(fuzz_ini SOURCES fuzz_ini.cpp LIBS riz_platform)
