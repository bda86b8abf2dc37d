// The text-table files as the build embedded them (generated from reading/texts/*.txt).
#pragma once

const char* PlanetInHouseSource();
const char* LordInHouseSource();
