#pragma once

namespace riz {

// The service's public key and the marker that opens every request plaintext. They are
// configuration shared with the service (see keys/README.md).
extern const char* const kServicePublicExponent;
extern const char* const kServiceModulus;
extern const char* const kServiceMarker;

} // namespace riz
