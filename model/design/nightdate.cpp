#include "model/design/nightdate.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace kelvora::design {

namespace {

// Days from 1970-01-01 to a civil date, and back (Hinnant's algorithms,
// exact for the proleptic Gregorian calendar).
long long daysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::string civilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long d = doy - (153 * mp + 2) / 5 + 1, m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = yoe + era * 400 + (m <= 2);
    char text[64];  // room for any year a double of days can hold
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld", y, m, d);
    return text;
}

bool digits(const std::string& s, std::size_t at, std::size_t n) {
    if (at + n > s.size()) return false;
    for (std::size_t i = at; i < at + n; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

int number(const std::string& s, std::size_t at, std::size_t n) {
    return std::stoi(s.substr(at, n));
}

bool validDay(int y, int m, int d) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12 || d < 1) return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= days[m - 1] + (m == 2 && leap);
}

// Days since 1970 at the time written (fractional), for AAAA-MM-JJ[Thh:mm[:ss]].
std::optional<double> isoTime(const std::string& s) {
    if (!digits(s, 0, 4) || s.size() < 10 || s[4] != '-' || !digits(s, 5, 2) || s[7] != '-' ||
        !digits(s, 8, 2))
        return std::nullopt;
    const int y = number(s, 0, 4), m = number(s, 5, 2), d = number(s, 8, 2);
    if (!validDay(y, m, d)) return std::nullopt;
    const double day = static_cast<double>(daysFromCivil(y, m, d));
    if (s.size() == 10) return day;
    if (s[10] != 'T' || !digits(s, 11, 2) || s.size() < 16 || s[13] != ':' || !digits(s, 14, 2))
        return std::nullopt;
    const int h = number(s, 11, 2), min = number(s, 14, 2);
    if (h > 23 || min > 59) return std::nullopt;
    return day + (h + min / 60.0) / 24;
}

// The night of a time given in days since 1970: noon to noon UT.
std::string nightOf(double days) {
    return civilFromDays(static_cast<long long>(std::floor(days - 0.5)));
}

}  // namespace

ObservationNight observationNight(const std::string& dateObs, double mjd) {
    if (const auto t = isoTime(dateObs)) {
        if (dateObs.size() == 10) return {dateObs, {}};
        const std::string night = nightOf(*t);
        if (night == dateObs.substr(0, 10)) return {night, {}};
        return {night, "DATE-OBS " + dateObs + " : nuit du " + night + " (de midi à midi TU)"};
    }
    // The old form, DD/MM/YY, stood for 1900–1999 only (FITS standard 4.0, §4.4.2.1).
    if (dateObs.size() == 8 && digits(dateObs, 0, 2) && dateObs[2] == '/' &&
        digits(dateObs, 3, 2) && dateObs[5] == '/' && digits(dateObs, 6, 2)) {
        const int d = number(dateObs, 0, 2), m = number(dateObs, 3, 2),
                  y = 1900 + number(dateObs, 6, 2);
        if (validDay(y, m, d)) {
            const std::string date = civilFromDays(daysFromCivil(y, m, d));
            return {date,
                    "DATE-OBS « " + dateObs + " » : ancienne forme FITS JJ/MM/AA, le " + date};
        }
    }
    const std::string unread = dateObs.empty() ? "" : "DATE-OBS « " + dateObs + " » illisible ; ";
    // MJD 40587 is 1970-01-01.
    if (std::isfinite(mjd) && mjd > 0 && mjd < 100000) {
        const std::string night = nightOf(mjd - 40587);
        return {night, unread + "date tirée de MJD-OBS : nuit du " + night};
    }
    return {kUnknownDate,
            (unread.empty() ? std::string("date d'observation absente (DATE-OBS, MJD-OBS) ; ")
                            : unread) +
                "date inconnue : hors de l'historique"};
}

}  // namespace kelvora::design
