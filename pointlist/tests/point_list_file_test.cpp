#include "pointlist/point_list_file.h"

#include <gtest/gtest.h>

#include "pointlist/run_settings.h"
#include "testsupport/run_program.h"

namespace vornel::pointlist {
namespace {

using vornel::testing::read_file;
using vornel::testing::TempDir;
using vornel::testing::write_file;

TEST(RunFileNames, UseTheFirstFiveCharactersOfTheSegmentId) {
  const std::string ppid = ppid_from_segpid("4711234");
  EXPECT_EQ(ppid, "47112");
  EXPECT_EQ(unsorted_list_name(ppid), "startstp.47112");
  EXPECT_EQ(sorted_list_name(ppid), "sorted.47112");
  EXPECT_EQ(run_settings_name(ppid), "dimen.47112");
  EXPECT_EQ(ppid_from_segpid("12"), "12");
}

TEST(PointListFile, WritesAndReadsBackEveryRecord) {
  TempDir dir;
  const RecordLayout layout{3, RecordKind::node_link};
  const std::vector<PointRecord> records = {
      {100, 200, 300, 1024, PointFlag::single, 0, 5},
      {-100, 0, 7, 1024, PointFlag::single, 0, 6},
      {1, 2, 3, -1, PointFlag::single, 0, 0},
  };
  PointListWriter writer((dir / "startstp.12345").string(), layout);
  for (const auto& r : records) writer.write(r);
  writer.close();
  EXPECT_EQ(writer.count(), 3);
  EXPECT_EQ(read_file(dir / "startstp.12345").size(), 3 * record_length(layout));

  PointListReader reader((dir / "startstp.12345").string(), layout);
  std::vector<PointRecord> read;
  PointRecord record;
  while (reader.next(record)) read.push_back(record);
  EXPECT_EQ(read, records);
}

TEST(PointListFile, MalformedLineIsReportedWithFileAndLine) {
  TempDir dir;
  const std::string path = (dir / "sorted.1").string();
  write_file(path,
             "          01           02       36\n"
             "          01           02\n");
  PointListReader reader(path, {2, RecordKind::plain});
  PointRecord record;
  EXPECT_TRUE(reader.next(record));
  try {
    reader.next(record);
    FAIL() << "a short record was accepted";
  } catch (const PointListError& error) {
    EXPECT_NE(std::string(error.what()).find(path + " line 2: too few fields"),
              std::string::npos)
        << error.what();
  }
}

TEST(PointListFile, MissingFileIsAnError) {
  TempDir dir;
  EXPECT_THROW(PointListReader((dir / "nothing").string(), {}), PointListError);
  EXPECT_THROW(PointListWriter((dir / "no" / "such" / "dir").string(), {}), PointListError);
}

TEST(RunSettingsFile, IsFourSetStatements) {
  const RunSettings settings{3, "/data/map.dgn", 1250000, 0};
  EXPECT_EQ(format_run_settings(settings),
            "set QBT_segdim=3\nset QBT_dgnname=/data/map.dgn\nset QBT_maxverts=1250000\n"
            "set QBT_wt_opt=0\n");
}

TEST(RunSettingsFile, ExtractorStoppedAtTheLimitLeavesOutTheWeightLine) {
  RunSettings settings{2, "a.dgn", 1250000, std::nullopt};
  EXPECT_EQ(format_run_settings(settings),
            "set QBT_segdim=2\nset QBT_dgnname=a.dgn\nset QBT_maxverts=1250000");
  TempDir dir;
  write_run_settings((dir / "dimen.1").string(), settings);
  EXPECT_EQ(read_run_settings((dir / "dimen.1").string()), settings);
}

TEST(RunSettingsFile, RoundTripsAndRejectsGarbage) {
  TempDir dir;
  const RunSettings settings{3, "with spaces/and=equals.dgn", 42, 2};
  write_run_settings((dir / "dimen.1").string(), settings);
  EXPECT_EQ(read_run_settings((dir / "dimen.1").string()), settings);

  write_file(dir / "dimen.2", "set QBT_segdim=2\nset QBT_maxverts=lots\n");
  EXPECT_THROW(read_run_settings((dir / "dimen.2").string()), PointListError);
  write_file(dir / "dimen.3", "QBT_segdim=2\n");
  EXPECT_THROW(read_run_settings((dir / "dimen.3").string()), PointListError);
}

}  // namespace
}  // namespace vornel::pointlist
