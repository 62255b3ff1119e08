#pragma once

#include "Engine/kstring.h"

#include <array>
#include <cstdint>
#include <map>

// The game's countries by number; each name is the country's own name in plain letters.
enum CountryId : std::uint8_t {
    ci_Al_Maghrib = 77,
    ci_Argentina = 7,
    ci_Belgie = 44,
    ci_Bolivia = 74,
    ci_Bosna_i_Hercegovina = 69,
    ci_Brasil = 16,
    ci_Bulgaria = 62,
    ci_Canada = 17,
    ci_Ceska_republika = 52,
    ci_Chile = 18,
    ci_China = 34,
    ci_Colombia = 19,
    ci_Costa_Rica = 81,
    ci_Cymru = 61,
    ci_Cyprus = 89,
    ci_Danmark = 11,
    ci_Deutschland = 3,
    ci_Ecuador = 73,
    ci_Eesti = 56,
    ci_England = 2,
    ci_Espana = 36,
    ci_Frroyar = 76,
    ci_France = 5,
    ci_Hanguk = 30,
    ci_Hellas = 50,
    ci_Hong_Kong = 59,
    ci_Hrvatska = 58,
    ci_India = 20,
    ci_Indonesia = 54,
    ci_Iran = 85,
    ci_Ireland = 21,
    ci_Island = 38,
    ci_Israel = 63,
    ci_Italia = 4,
    ci_Latvija = 53,
    ci_Lietuva = 66,
    ci_Luxembourg = 84,
    ci_Magyarorszag = 51,
    ci_Malaysia = 45,
    ci_Mexico = 6,
    ci_Misr = 33,
    ci_Nederland = 14,
    ci_Nigeria = 75,
    ci_Nippon = 22,
    ci_Norge = 9,
    ci_Oceania = 15,
    ci_Osterreich = 39,
    ci_Pakistan = 71,
    ci_Paraguay = 72,
    ci_Peru = 23,
    ci_Philippines = 55,
    ci_Polska = 24,
    ci_Portugal = 25,
    ci_Prathet_Thai = 31,
    ci_Republica_Dominicana = 88,
    ci_Romania = 37,
    ci_Rossiya = 35,
    ci_Saudi_Arabia = 79,
    ci_Schweiz = 46,
    ci_Scotland = 26,
    ci_Singapore = 47,
    ci_Slovakia = 67,
    ci_Slovenija = 64,
    ci_South_Africa = 27,
    ci_Srbija_i_Crna_Gora = 57,
    ci_Suomi = 12,
    ci_Sverige = 1,
    ci_Taiwan = 60,
    ci_Tunisiyah = 80,
    ci_Turkiye = 32,
    ci_Ukraina = 68,
    ci_United_Arab_Emirates = 83,
    ci_Uruguay = 28,
    ci_USA = 8,
    ci_Venezuela = 29,
    ci_Vietnam = 70,
};

// Identifier names ("ci_Sverige") to numbers; names compare exactly, letter case included.
using TCountryIds = std::map<kstring, CountryId>;

// Filled by the session when it is made; empty until then.
extern TCountryIds countryIds;

struct Country
{
    CountryId id;
    const char *identifier; // the enumerator's name
    const char *nativeName; // UTF-8
};

// The 76 countries, in the game's list order.
const std::array<Country, 76> &countries();

// Enters every country's identifier name and number.
void fillCountryIds(TCountryIds &ids);
