#!/usr/bin/env python3
"""Writes src/local/world_cities.cpp, the built-in world gazetteer, from the
city database of the KStars data package (citydb.sqlite).

    python3 make_world_cities.py CITYDB.sqlite OUTPUT.cpp [COUNT]

The database lists some 3,400 places, about two thirds of them in the United
States and Canada. COUNT places (2951 by default) are kept: national capitals
and a list of large cities always, and of the rest the place that lies nearest
to another kept place is dropped, one at a time, so that the table thins out
where places crowd and keeps the sparse parts of the world whole.
"""
import heapq
import math
import sqlite3
import sys
import unicodedata

# Capitals and large cities, as (name, country) of the database.
KEEP = [
    ("Abuja", "Nigeria"), ("Accra", "Ghana"), ("Addis Ababa", "Ethiopia"), ("Algiers", "Algeria"),
    ("Amman", "Jordan"), ("Amsterdam", "Netherlands"), ("Ankara", "Turkey"), ("Antananarivo", "Madagascar"),
    ("Asunción", "Paraguay"), ("Athens", "Greece"), ("Baghdad", "Iraq"), ("Baku", "Azerbaijan"),
    ("Bamako", "Mali"), ("Bangkok", "Thailand"), ("Beijing", "China"), ("Beirut", "Lebanon"),
    ("Belgrade", "Serbia"), ("Berlin", "Germany"), ("Bern", "Switzerland"), ("Bogotá", "Colombia"),
    ("Brasilia", "Brazil"), ("Bratislava", "Slovakia"), ("Brussels", "Belgium"), ("Bucharest", "Romania"),
    ("Budapest", "Hungary"), ("Buenos Aires", "Argentina"), ("Cairo", "Egypt"), ("Canberra", "Australia"),
    ("Caracas", "Venezuela"), ("Colombo", "Sri Lanka"), ("Conakry", "Guinea"), ("Copenhagen", "Denmark"),
    ("Dakar", "Senegal"), ("Damascus", "Syria"), ("Dhaka", "Bangladesh"), ("Dublin", "Ireland"),
    ("Hanoi", "Vietnam"), ("Harare", "Zimbabwe"), ("Havana", "Cuba"), ("Helsinki", "Finland"),
    ("Islamabad", "Pakistan"), ("Jakarta", "Indonesia"), ("Jerusalem", "Israel"), ("Kabul", "Afghanistan"),
    ("Kampala", "Uganda"), ("Kathmandu", "Nepal"), ("Khartoum", "Sudan"), ("Kiev", "Ukraine"),
    ("Kyiv", "Ukraine"), ("Kinshasa", "Congo (Democratic Republic)"), ("Kuala Lumpur", "Malaysia"),
    ("Lima", "Peru"), ("Lisbon", "Portugal"), ("Ljubljana", "Slovenia"), ("London", "United Kingdom"),
    ("Luanda", "Angola"), ("Lusaka", "Zambia"), ("Madrid", "Spain"), ("Managua", "Nicaragua"),
    ("Manila", "Philippines"), ("Maputo", "Mozambique"), ("Mexico City", "Mexico"), ("Minsk", "Belarus"),
    ("Mogadishu", "Somalia"), ("Montevideo", "Uruguay"), ("Moscow", "Russia"), ("Nairobi", "Kenya"),
    ("New Delhi", "India"), ("Oslo", "Norway"), ("Ottawa", "Canada"), ("Panama City", "Panama"),
    ("Paris", "France"), ("Phnom Penh", "Cambodia"), ("Prague", "Czech Republic"), ("Pretoria", "South Africa"),
    ("Pyongyang", "North Korea"), ("Quito", "Ecuador"), ("Rabat", "Morocco"), ("Reykjavik", "Iceland"),
    ("Riga", "Latvia"), ("Riyadh", "Saudi Arabia"), ("Rome", "Italy"), ("San José", "Costa Rica"),
    ("Santiago", "Chile"), ("Santo Domingo", "Dominican Republic"), ("Seoul", "South Korea"),
    ("Singapore", "Singapore"), ("Sofia", "Bulgaria"), ("Stockholm", "Sweden"), ("Taipei", "Taiwan"),
    ("Tallinn", "Estonia"), ("Tashkent", "Uzbekistan"), ("Tbilisi", "Georgia"), ("Tehran", "Iran"),
    ("Tokyo", "Japan"), ("Tripoli", "Libya"), ("Tunis", "Tunisia"), ("Ulaanbaatar", "Mongolia"),
    ("Vienna", "Austria"), ("Vilnius", "Lithuania"), ("Warsaw", "Poland"), ("Washington", "USA"),
    ("Wellington", "New Zealand"), ("Yangon", "Myanmar"), ("Yerevan", "Armenia"), ("Zagreb", "Croatia"),
    # Large cities.
    ("Osaka", "Japan"), ("Kyoto", "Japan"), ("Nagoya", "Japan"), ("Sapporo", "Japan"), ("Fukuoka", "Japan"),
    ("Shanghai", "China"), ("Hong Kong", "China"), ("Mumbai", "India"), ("Kolkata", "India"),
    ("Chennai", "India"), ("Karachi", "Pakistan"), ("Istanbul", "Turkey"), ("São Paulo", "Brazil"),
    ("Rio de Janeiro", "Brazil"), ("New York", "USA"), ("Los Angeles", "USA"), ("Chicago", "USA"),
    ("Houston", "USA"), ("San Francisco", "USA"), ("Seattle", "USA"), ("Miami", "USA"),
    ("Honolulu", "USA"), ("Anchorage", "USA"), ("Toronto", "Canada"), ("Montreal", "Canada"),
    ("Vancouver", "Canada"), ("Sydney", "Australia"), ("Melbourne", "Australia"), ("Perth", "Australia"),
    ("Auckland", "New Zealand"), ("Lagos", "Nigeria"), ("Johannesburg", "South Africa"),
    ("Cape Town", "South Africa"), ("Casablanca", "Morocco"), ("Alexandria", "Egypt"),
    ("Saint Petersburg", "Russia"), ("Novosibirsk", "Russia"), ("Vladivostok", "Russia"),
    ("Hamburg", "Germany"), ("Munich", "Germany"), ("Barcelona", "Spain"), ("Milan", "Italy"),
    ("Naples", "Italy"), ("Manchester", "United Kingdom"), ("Edinburgh", "United Kingdom"),
    ("Aachen", "Germany"),
]


def dms(text):
    """' 35° 40\\' 59"' -> 35.683; the sign is the text's."""
    t = text.strip()
    negative = t.startswith("-")
    parts = t.lstrip("-").replace("°", " ").replace("'", " ").replace('"', " ").split()
    value = sum(float(p) / 60 ** i for i, p in enumerate(parts))
    return -value if negative else value


def fold(name):
    """Alphabetical key: accents dropped, case ignored."""
    plain = unicodedata.normalize("NFKD", name)
    return "".join(c for c in plain if not unicodedata.combining(c)).casefold()


def distance(a, b):
    """Great-circle distance in degrees."""
    la1, lo1, la2, lo2 = map(math.radians, (a[2], a[1], b[2], b[1]))
    c = math.sin(la1) * math.sin(la2) + math.cos(la1) * math.cos(la2) * math.cos(lo1 - lo2)
    return math.degrees(math.acos(max(-1.0, min(1.0, c))))


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    count = int(sys.argv[3]) if len(sys.argv) == 4 else 2951
    db = sqlite3.connect(sys.argv[1])
    rows = db.execute("SELECT Name, Country, Longitude, Latitude FROM city").fetchall()
    places = []
    seen = set()
    for name, country, lon, lat in rows:
        p = (name.strip(), round(dms(lon), 3), round(dms(lat), 3), country)
        if p[:3] in seen:  # the same place listed twice
            continue
        seen.add(p[:3])
        places.append(p)
    keep = {(n, c) for n, c in KEEP}
    protected = [(p[0], p[3]) in keep for p in places]
    missing = keep - {(p[0], p[3]) for p in places}

    n = len(places)
    alive = [True] * n
    nearest = [0.0] * n
    def nearest_of(i):
        return min((distance(places[i], places[j]), j) for j in range(n) if j != i and alive[j])
    partner = [0] * n
    heap = []
    for i in range(n):
        nearest[i], partner[i] = nearest_of(i)
        if not protected[i]:
            heapq.heappush(heap, (nearest[i], i))
    remaining = n
    while remaining > count:
        d, i = heapq.heappop(heap)
        if not alive[i] or d != nearest[i]:
            continue
        alive[i] = False
        remaining -= 1
        for j in range(n):
            if alive[j] and partner[j] == i:
                nearest[j], partner[j] = nearest_of(j)
                if not protected[j]:
                    heapq.heappush(heap, (nearest[j], j))

    kept = sorted((places[i] for i in range(n) if alive[i]), key=lambda p: (fold(p[0]), p[0], p[1], p[2]))
    with open(sys.argv[2], "w", encoding="utf-8") as out:
        out.write("// The built-in world gazetteer. Generated by tools/gazetteer/make_world_cities.py from\n"
                  "// the city database of KStars (kstars-data, citydb.sqlite, GPL-2.0-or-later);\n"
                  "// do not edit by hand.\n"
                  "#include \"local/world_cities.h\"\n\nnamespace vernier {\n\n"
                  "const WorldCity WorldCityTable[kWorldCityCount + 1] = {\n")
        for name, lon, lat, _ in kept:
            literal = name.replace("\\", "\\\\").replace('"', '\\"')
            out.write(f'    {{"{literal}", {lon:.3f}, {lat:.3f}, 0.0, 0.0}},\n')
        out.write("    {nullptr, 0.0, 0.0, 0.0, 0.0},\n};\n\n}  // namespace vernier\n")
    print(f"{len(kept)} of {n} places kept; {sum(protected)} protected; not in the database: "
          f"{sorted(missing)}", file=sys.stderr)


if __name__ == "__main__":
    main()
