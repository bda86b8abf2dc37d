// The text-table files as the build embedded them (generated from reading/texts/*.txt).
#pragma once

extern const char kPlanetInHouseSource[];
extern const char kLordInHouseSource[];
