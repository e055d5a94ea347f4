riz_add_fuzz(fuzz_service_request SOURCES fuzz_service_request.cpp LIBS riz_service_http)
target_compile_definitions(fuzz_service_request PRIVATE RIZ_DEV_KEY="${PROJECT_SOURCE_DIR}/keys/dev-service.key")
