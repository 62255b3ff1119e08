#include "sim/world_names.h"

namespace sim {

const std::array<Region, 4> &regions()
{
    static const std::array<Region, 4> pools{{
        {"Nordliga",
         {"Malmö Vikings", "Ísafold United", "Göteborg Kometer", "Tromsø Nordlys", "Åland Seagulls",
          "Reykjavík Rovers", "Kalmar Bränning", "Vänersborg IF"},
         {"Björn", "Erik", "Magnús", "Lars", "Ólafur", "Jörgen", "Henrik", "Sigurður", "Anders",
          "Mikael", "Fredrik", "Gunnar", "Ragnar", "Oskar", "Nils", "Pétur", "Sören", "Tomas"},
         {"Åkesson", "Lindqvist", "Sigurðsson", "Björklund", "Nyström", "Hallgrímsson", "Järvinen",
          "Sandberg", "Holm", "Eriksen", "Ståhl", "Þórsson", "Lövgren", "Dahl", "Wikström",
          "Jónsson", "Berg", "Forsell"},
         {"Hamnvallen", "Nordlysarena", "Kometstadion", "Fjordpark"}},
        {"Liga Ibérica",
         {"Atlético Peñaroja", "Real Cádiza", "Sporting Açores", "CD Córdoba Sur",
          "Unión Logroñesa", "Deportivo Almería Mar", "Vitória Serrana", "Clube Setúbalense"},
         {"José", "Andrés", "João", "Iñaki", "Sergio", "Raúl", "Gonçalo", "Álvaro", "Rubén",
          "Tiago", "Íker", "Martín", "Nuno", "Héctor", "Joaquín", "Rui", "Pablo", "Simão"},
         {"Peña", "Muñoz", "Gonçalves", "Ibáñez", "Fernández", "Conceição", "Ordóñez", "Alves",
          "Núñez", "Sáez", "Ribeiro", "Márquez", "Lourenço", "Gómez", "Cardoso", "Jiménez",
          "Araújo", "Domínguez"},
         {"Estadio del Mar", "Campo Municipal", "Estádio da Serra", "Estadio La Ribera"}},
        {"Mitteleuropa Liga",
         {"FC Grünwald 09", "SV Münsterau", "Dynamo Plzeňov", "Slavia Brnošov", "Wiener Löwen",
          "Rapid Zürichsee", "Tisza Győrvár", "Kraków Orły"},
         {"Jürgen", "Lukáš", "Tomáš", "Matthias", "Zoltán", "Stefan", "Dávid", "Jakub", "Ondřej",
          "Florian", "Bálint", "Paweł", "Michał", "Kristóf", "Tobias", "Jiří", "Lorenz", "Ádám"},
         {"Müller", "Dvořák", "Kovács", "Schröder", "Nowakowski", "Černý", "Hübner", "Szabó",
          "Wójcik", "Brückner", "Horváth", "Procházka", "Jäger", "Kráľ", "Lewandowicz", "Böhm",
          "Tóth", "Weiß"},
         {"Waldstadion", "Löwenpark", "Tiszaparti Aréna", "Stadion Na Kopci"}},
        {"Atlantic League",
         {"Port Sainte-Hélène", "Olympique Lérins", "Stade Brévannes", "AS Côte Émeraude",
          "Galway Harps", "Cardigan Town", "Brest Atlantique", "Cork Mariners"},
         {"François", "Cillian", "Étienne", "Rhys", "Séamus", "Jérôme", "Owain", "Noël", "Liam",
          "Aurélien", "Dafydd", "Ciarán", "Gaëtan", "Padraig", "Hugo", "Bréanainn", "Yann",
          "Gwilym"},
         {"Lefèvre", "O'Sullivan", "Bézier", "Llewellyn", "Ó Briain", "Gauthier", "Prys", "Dubois",
          "MacCárthaigh", "Rénaud", "Evans", "Kerhervé", "Ó Dónaill", "Morgan", "Le Goff",
          "Fitzgerald", "Thibault", "Jenkins"},
         {"Stade de la Plage", "Harbour Park", "Parc des Embruns", "The Quayside"}},
    }};
    return pools;
}

} // namespace sim
