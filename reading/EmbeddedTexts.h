// SPDX-License-Identifier: AGPL-3.0-or-later
// The text-table files as the build embedded them (generated from reading/texts/*.txt).
#pragma once

const char* PlanetInHouseSource();
const char* LordInHouseSource();
