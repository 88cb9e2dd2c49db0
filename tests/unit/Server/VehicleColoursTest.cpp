// Vehicle colour tables: parsing rules with a fixture table, game paths and the random pick.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include "Engine/MountedPath.h"
#include "Server/VehicleColours.h"
#include "../Scripting/LogCapture.h"

using namespace Ferrox3D;

namespace {
using tColours = std::vector<int32_t>;
tColours Entry(const tVehicleColour& c) { return {c.m_Colours[0], c.m_Colours[1], c.m_Colours[2], c.m_Colours[3]}; }

std::vector<tColours> Entries(CVehicleColours& table, uint32_t model) {
    std::vector<tColours> out;
    for (const tVehicleColour& c : table.FindDefinitions(model)) {
        EXPECT_FALSE(c.m_bRGB);
        out.push_back(Entry(c));
    }
    return out;
}

struct tFixture {
    LogCapture log;
    CVehicleColours table;
    tFixture() {
        CMountedPath data(KESTRO_TEST_DATA "/vehiclecolours");
        Strong<Stream> file = data.Open("table.conf", false);
        EXPECT_TRUE(file);
        table.Load(file);
    }
};
}  // namespace

TEST(VehicleColours, FixtureTable) {
    tFixture f;
    EXPECT_EQ(Entries(f.table, 90), (std::vector<tColours>{{5, 1, 0, 0}, {44, 1, 2, 3}}));
    EXPECT_EQ(Entries(f.table, 93), (std::vector<tColours>{{7, 8, 9, 10}}));  // a sixth number is ignored
    EXPECT_EQ(Entries(f.table, 94), (std::vector<tColours>{{1, 2, 0, 0}}));
    EXPECT_EQ(Entries(f.table, 95), (std::vector<tColours>{{3, 4, 0, 0}}));
    EXPECT_EQ(Entries(f.table, 96), (std::vector<tColours>{{255, 0, 0, 0}}));
    EXPECT_EQ(Entries(f.table, 97), (std::vector<tColours>{{1, 1, 0, 0}}));  // last line without a feed
    EXPECT_TRUE(Entries(f.table, 91).empty());
    EXPECT_TRUE(Entries(f.table, 92).empty());
    EXPECT_EQ(f.log.Lines(), (std::vector<std::string>{"vehiclecolours.conf[5] - bad syntax '91 5'",
                                                       "vehiclecolours.conf[10] - bad syntax 'bad line here'"}));
}

TEST(VehicleColours, RandomPick) {
    tFixture f;
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(Entry(*f.table.PickRandom(93)), (tColours{7, 8, 9, 10}));
    std::set<int32_t> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(f.table.PickRandom(90)->m_Colours[0]);
    EXPECT_EQ(seen, (std::set<int32_t>{5, 44}));
    EXPECT_EQ(f.table.PickRandom(4242), nullptr);
    EXPECT_TRUE(f.log.Contains("Cannot randomise car colour 4242!"));
}

TEST(VehicleColours, EveryGameLoadsItsBuiltinTable) {
    CFileSystem fs;
    ASSERT_TRUE(fs.MountDefaultRoots());
    for (int game : {1, 2, 3, 5}) {
        CVehicleColours table;
        EXPECT_TRUE(table.LoadForGame(game, fs)) << game;
    }
    CVehicleColours none;
    EXPECT_FALSE(none.LoadForGame(4, fs));
    EXPECT_EQ(CVehicleColours::GetTablePath(4), nullptr);
    EXPECT_STREQ(CVehicleColours::GetTablePath(2), "/vehiclecolours_b.conf");
}

TEST(VehicleColours, GameDHasNoEntries) {
    LogCapture log;
    CFileSystem fs;
    ASSERT_TRUE(fs.MountDefaultRoots());
    CVehicleColours table;
    ASSERT_TRUE(table.LoadForGame(5, fs));
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(table.PickRandom(1), nullptr);
    EXPECT_TRUE(log.Contains("Cannot randomise car colour 1!"));
}
