#include "app/servers/Kinds.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/ControlTable.h"
#include "app/servers/Mssql.h"
#include "app/servers/Oracle.h"
#include "app/servers/ServerKind.h"

namespace app::servers {
namespace {

// What a new kind gets wrong most easily: a page of another kind in its
// walk, or a key of the answers file that answers a field of another page.
TEST(ServerKindsTest, EachKindWalksPagesOfItsOwnAndItsKeysAnswerFieldsOnThem) {
  std::set<PageId> walked;
  std::set<std::string, std::less<>> sections;
  for (const Kind* kind : AllKinds()) {
    SCOPED_TRACE(std::string(kind->Section()));
    EXPECT_TRUE(sections.insert(std::string(kind->Section())).second);
    ASSERT_FALSE(kind->Pages().empty());
    std::set<PageId> pages;
    for (PageId page : kind->Pages()) {
      EXPECT_TRUE(IsWizardPage(page) && page != PageId::TabSheet0) << PageName(page);
      EXPECT_TRUE(walked.insert(page).second) << PageName(page) << " is walked by two kinds";
      pages.insert(page);
    }
    for (const Kind::AnswerKey& key : kind->Keys()) {
      EXPECT_TRUE(pages.count(RowOf(key.field).page)) << key.key << " answers " << RowOf(key.field).name;
    }
  }
  EXPECT_EQ(static_cast<int>(walked.size()) + 1, kWizardPageCount);
}

// The kinds stand in the order of the "Serwer" items, which the stored
// choice and the answers file count on.
TEST(ServerKindsTest, EachKindStandsAtItsServerItem) {
  EXPECT_EQ(KindOf(ServerKind::MicrosoftSqlServer).Section(), kMssqlSection);
  EXPECT_EQ(KindOf(ServerKind::Oracle).Section(), kOracleSection);
  EXPECT_EQ(KindOf(ServerKindOfItem(0)).Pages().front(), PageId::TabSheet1);
}

}  // namespace
}  // namespace app::servers
