// Written by riz-keygen: the service's public key and marker, compiled into the
// client. The private half is the service's key file.
#include "protocol/servicekey.h"

namespace riz {
const char* const kServicePublicExponent = "0xe9b";
const char* const kServiceModulus =
    "0x5e86b06bfc3e56f86c928620984bd5ac5b4078a3a0ff438883b4ef50629dee2115e780ab897017282a479d7236928469441640409f49a693ee1cc9579d5121b4a987c35e0754b2e3c038304d56d4ff6da7b651772b6767c2ab68410fc4a8db3f8cf8e6ff91119fba057549f2bd9bb9395317b64196e6d4830770de698ee7bc83";
const char* const kServiceMarker = "RGD2UD ";
} // namespace riz
