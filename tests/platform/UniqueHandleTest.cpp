#include "platform/UniqueHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace platform {
namespace {

// Records what it closes: the closer's name, then the handle, for each.
struct Recorder {
  std::string* closed = nullptr;
  char name = '?';
  void operator()(int handle) const { *closed += name + std::to_string(handle) + " "; }
};
using Owner = UniqueHandle<int, Recorder>;

// A handle kind whose empty value is not zero, as a file's is not.
struct MinusOneIsEmpty : Recorder {
  static int Empty() { return -1; }
};

// Every handle is closed exactly once, by the closer it came with, however
// it changes hands; nothing is closed for an empty owner.
TEST(UniqueHandleTest, EachHandleIsClosedOnceByItsOwnCloser) {
  std::string closed;
  {
    Owner a(1, Recorder{&closed, 'a'});
    Owner b(2, Recorder{&closed, 'b'});
    Owner moved(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(moved.Get(), 1);
    b = std::move(moved);  // b's own handle goes first
    EXPECT_EQ(closed, "b2 ");
    *b.Put() = 3;  // so does the one Put replaces
    EXPECT_EQ(closed, "b2 a1 ");
    Owner c(Recorder{&closed, 'c'});
    EXPECT_FALSE(c);
    c.Reset(4);
    EXPECT_EQ(c.Release(), 4);
    Owner zero(0, Recorder{&closed, 'z'});
  }
  EXPECT_EQ(closed, "b2 a1 a3 ");
}

TEST(UniqueHandleTest, AnEmptyValueOtherThanZeroIsNeverClosed) {
  std::string closed;
  {
    UniqueHandle<int, MinusOneIsEmpty> file(MinusOneIsEmpty{{&closed, 'f'}});
    EXPECT_FALSE(file);
    EXPECT_EQ(file.Get(), -1);
    *file.Put() = 0;
    EXPECT_TRUE(file);
  }
  EXPECT_EQ(closed, "f0 ");
}

}  // namespace
}  // namespace platform
