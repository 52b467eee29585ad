// The case table: the telling rows literally (single corners, the split
// hexagons, the seven-sided loops and the four-triangle case).
#include "geometry/case_table.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

typedef std::vector<std::vector<int>> polygons;

polygons rowPolygons(const casePolygons& row) {
    polygons out;
    const uint8_t* e = row.edges;
    for (int p = 0; p < row.numPolygons; e += row.size[p], p++)
        out.push_back(std::vector<int>(e, e + row.size[p]));
    return out;
}

TEST(CaseTable, TellingRowsExactly) {
    const std::pair<unsigned, polygons> rows[] = {
        {1, {{0, 3, 4}}},
        {7, {{5, 6, 2, 3, 4}}},
        {15, {{4, 5, 6, 7}}},
        {23, {{5, 6, 2, 3, 11, 8}}},
        {60, {{3, 1, 6, 7}, {5, 4, 11, 9}}},
        {61, {{0, 1, 6, 7, 11, 9, 5}}},
        {90, {{6, 9, 10}, {4, 11, 8}, {3, 2, 7}, {1, 0, 5}}},
        {171, {{4, 8, 9, 1, 2, 10, 11}}},
        {250, {{1, 0, 4, 6}, {3, 2, 6, 4}}},
        {254, {{0, 4, 3}}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(rowPolygons(caseTable(r.first)), r.second) << "case " << r.first;
}

} // namespace
