#pragma once

#include "service/servicedb.h"

namespace riz::service {

// What every service needs: neighbourhoods, sponsor banners, the premium-rate numbers and a
// supply of codes for them. Adds only what is missing.
void SeedBaseData(TServiceDb& db);
// The logo, ringtone and text catalog; only into an empty catalog.
void SeedCatalog(TServiceDb& db);

} // namespace riz::service
