#include "oracle/ServiceEntryTable.h"

#include <gtest/gtest.h>

#include "tests/ErrorOf.h"

namespace oracle {
namespace {

using testing_support::ErrorOf;
using State = ServiceEntryTable::State;

class ServiceEntryTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table.onAfterEdit = [this] { ++edits; };
    table.Load({"XE", "TCP", "xehost", "1521", "XE"});
    table.Load({"ALPHA", "TCP", "ahost", "1522", "A"});
  }

  ServiceEntryTable table;
  int edits = 0;
};

TEST_F(ServiceEntryTableTest, NamesAreFoundExactlyAndOthersStartANewEntry) {
  table.Select("XE");
  EXPECT_EQ(table.CurrentState(), State::Shown);
  EXPECT_EQ(table.Current().host, "xehost");
  table.Select("xe");
  EXPECT_EQ(table.CurrentState(), State::New);
  EXPECT_EQ(table.Current(), (ServiceEntry{"", "TCP", "", "1521", "XE"}));
  EXPECT_EQ(ErrorOf([&] { table.Post("xe"); }), "Pole 'Nazwa lub IP serwera' musi posiadać wartość");
  table.Edit(ServiceField::Host, "other");
  EXPECT_EQ(ErrorOf([&] { table.Post("xe"); }), "Key violation.");
  EXPECT_EQ(table.CurrentState(), State::New);  // refused: still current and unsaved
  table.Post("XE2");
  EXPECT_EQ(table.CurrentState(), State::Shown);
  EXPECT_EQ(table.Names(), (std::vector<std::string>{"ALPHA", "XE", "XE2"}));
  EXPECT_EQ(edits, 1);
}

TEST_F(ServiceEntryTableTest, ChangesAreDroppedOrStoredUnderTheNameGiven) {
  table.Select("XE");
  table.Edit(ServiceField::Port, "1600");
  table.Edit(ServiceField::Service, "ORCL");
  EXPECT_EQ(table.CurrentState(), State::Changing);
  EXPECT_EQ(edits, 1);  // one beginning per entry
  table.Select("ALPHA");
  EXPECT_EQ(table.Find("XE")->port, "1521");
  EXPECT_EQ(table.Current().port, "1522");

  table.Edit(ServiceField::Port, "1600");
  table.Cancel();
  EXPECT_EQ(table.Current().port, "1522");
  EXPECT_EQ(table.CurrentState(), State::Shown);

  // Storing a changed entry under another name renames it; its own name in
  // another letter case is no violation.
  table.Edit(ServiceField::Port, "1700");
  table.Post("alpha");
  EXPECT_EQ(table.Names(), (std::vector<std::string>{"XE", "alpha"}));
  table.Edit(ServiceField::Protocol, "");
  EXPECT_EQ(ErrorOf([&] { table.Post("alpha"); }), "Pole 'Protokół' musi posiadać wartość");
  table.Edit(ServiceField::Protocol, "TCPS");
  EXPECT_EQ(ErrorOf([&] { table.Post(""); }), "Pole 'Nazwa' musi posiadać wartość");
  EXPECT_EQ(ErrorOf([&] { table.Post("xE"); }), "Key violation.");
  EXPECT_EQ(edits, 4);
}

TEST_F(ServiceEntryTableTest, ValuesAreCutToTheirFieldsInCharacters) {
  table.Select("NEW");
  table.Edit(ServiceField::Host, std::string(29, 'h') + "żź");
  table.Post(std::string(30, 'N') + "X");
  ASSERT_NE(table.Find(std::string(30, 'N')), nullptr);
  EXPECT_EQ(table.Current().host, std::string(29, 'h') + "ż");
  // A cancelled new entry disappears and leaves none current.
  table.Select("OTHER");
  table.Cancel();
  EXPECT_FALSE(table.HasCurrent());
  EXPECT_EQ(table.Count(), 3u);
}

}  // namespace
}  // namespace oracle
