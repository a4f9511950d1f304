// Numbers, arrays, dictionaries, data and dates: value semantics, the
// platform's exceptions for bad indexes and nil, and descriptions.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <string>

#include "platform/foundation/foundation.h"
#include "platform/objc/exception.h"

namespace {

using objc::msg;
using objc::Ref;

std::string raised_name(const std::function<void()>& action) {
  try {
    action();
  } catch (const objc::Exception& e) {
    return ns::exception_name(e.object());
  }
  return "";
}

Class cls(const char* name) { return objc_getClass(name); }
id text(const char* utf8) { return ns::string(utf8); }
std::string description_of(id object) { return ns::utf8(msg<id>(object, "description")); }

class CollectionTest : public testing::Test {
 protected:
  ns::AutoreleasePool pool_;
};

// ---- NSNumber -------------------------------------------------------------

TEST_F(CollectionTest, BooleansAreTheirOwnKindOfNumber) {
  id yes = msg<id>(cls("NSNumber"), "numberWithBool:", YES);
  id one = msg<id>(cls("NSNumber"), "numberWithInt:", 1);
  EXPECT_TRUE(ns::is_boolean(yes));
  EXPECT_FALSE(ns::is_boolean(one));
  EXPECT_EQ(yes, ns::boolean(true));  // one shared instance per value
  EXPECT_EQ(ns::utf8(NSStringFromClass(object_getClass(yes))), "__NSCFBoolean");
  EXPECT_TRUE(msg<BOOL>(yes, "isKindOfClass:", cls("NSNumber")));
  // By value a Boolean is 0 or 1, equal to (and hashed like) those numbers.
  EXPECT_TRUE(msg<BOOL>(yes, "isEqual:", one));
  EXPECT_EQ(msg<unsigned long>(yes, "hash"), msg<unsigned long>(one, "hash"));
  EXPECT_EQ(description_of(yes), "1");
  EXPECT_EQ(description_of(ns::boolean(false)), "0");
}

TEST_F(CollectionTest, NumbersCompareByValueAcrossKinds) {
  id one = ns::number(1);
  id one_real = ns::number(1.0);
  EXPECT_EQ(ns::number_kind(ns::number(7u)), ns::NumberKind::kInteger);
  EXPECT_TRUE(msg<BOOL>(one, "isEqual:", one_real));
  EXPECT_EQ(msg<unsigned long>(one, "hash"), msg<unsigned long>(one_real, "hash"));
  // Large integers compare exactly, not through a double.
  id big = ns::number((1LL << 53) + 1);
  id big_real = ns::number(static_cast<double>(1LL << 53));
  EXPECT_EQ(msg<long>(big, "compare:", big_real), NSOrderedDescending);
  id largest = ns::number(ULLONG_MAX);
  EXPECT_EQ(msg<long>(largest, "compare:", ns::number(-1LL)), NSOrderedDescending);
  EXPECT_EQ(description_of(largest), "18446744073709551615");
  EXPECT_EQ(msg<unsigned long long>(largest, "unsignedLongLongValue"), ULLONG_MAX);
  EXPECT_EQ(description_of(ns::number(0.1)), "0.1");
  EXPECT_EQ(description_of(msg<id>(cls("NSNumber"), "numberWithFloat:", 0.1f)), "0.1");
}

TEST_F(CollectionTest, NumberConversionsSaturateInsteadOfOverflowing) {
  EXPECT_EQ(msg<int>(ns::number(1e20), "intValue"), INT_MAX);
  EXPECT_EQ(msg<long long>(ns::number(-1e30), "longLongValue"), LLONG_MIN);
  EXPECT_EQ(msg<int>(ns::number(std::nan("")), "intValue"), 0);
  EXPECT_EQ(msg<int>(ns::number(-2.9), "intValue"), -2);
  EXPECT_TRUE(msg<BOOL>(ns::number(0.5), "boolValue"));
  EXPECT_FALSE(msg<BOOL>(ns::number(0LL), "boolValue"));
  EXPECT_TRUE(msg<BOOL>(ns::number(-3LL), "boolValue"));
}

// ---- NSArray ---------------------------------------------------------------

TEST_F(CollectionTest, ArrayIndexesPastTheEndRaiseRangeErrors) {
  id items = ns::array({text("a"), text("b")});
  EXPECT_EQ(ns::utf8(msg<id>(items, "objectAtIndex:", 1ul)), "b");
  EXPECT_EQ(raised_name([&] { msg<id>(items, "objectAtIndex:", 2ul); }), "NSRangeException");
  EXPECT_EQ(raised_name([&] { msg<id>(items, "objectAtIndexedSubscript:", 9ul); }),
            "NSRangeException");
  EXPECT_EQ(raised_name([&] { msg<id>(ns::array({}), "objectAtIndex:", 0ul); }),
            "NSRangeException");
  EXPECT_EQ(msg<id>(ns::array({}), "firstObject"), nil);
  EXPECT_EQ(msg<id>(ns::array({}), "lastObject"), nil);
}

TEST_F(CollectionTest, MutableArrayKeepsOrderAndRefusesNil) {
  id list = ns::autorelease(msg<id>(cls("NSMutableArray"), "new"));
  msg<void>(list, "addObject:", text("b"));
  msg<void>(list, "insertObject:atIndex:", text("a"), 0ul);
  msg<void>(list, "insertObject:atIndex:", text("c"), 2ul);  // at the end is allowed
  msg<void>(list, "addObjectsFromArray:", list);             // itself, safely
  EXPECT_EQ(description_of(list), "(\n    a,\n    b,\n    c,\n    a,\n    b,\n    c\n)");
  msg<void>(list, "removeObjectAtIndex:", 0ul);
  msg<void>(list, "removeObject:", text("c"));  // every equal element
  EXPECT_EQ(ns::array_items(list).size(), 3u);
  EXPECT_TRUE(msg<BOOL>(list, "isEqual:", ns::array({text("b"), text("a"), text("b")})));
  EXPECT_EQ(raised_name([&] { msg<void>(list, "addObject:", nil); }), "NSInvalidArgumentException");
  EXPECT_EQ(raised_name([&] { msg<void>(list, "insertObject:atIndex:", text("x"), 4ul); }),
            "NSRangeException");
  EXPECT_EQ(raised_name([&] { msg<void>(list, "removeObjectAtIndex:", 3ul); }), "NSRangeException");
  msg<void>(list, "removeAllObjects");
  EXPECT_EQ(msg<unsigned long>(list, "count"), 0u);
}

TEST_F(CollectionTest, ArrayMembershipUsesIsEqual) {
  // Another instance with the same text is the same element.
  id items = ns::array({text("x"), ns::number(2LL)});
  EXPECT_TRUE(msg<BOOL>(items, "containsObject:", text("x")));
  EXPECT_EQ(msg<unsigned long>(items, "indexOfObject:", ns::number(2.0)), 1u);
  EXPECT_EQ(msg<unsigned long>(items, "indexOfObject:", text("y")), NSNotFound);
}

TEST_F(CollectionTest, CopiesAreIndependentAndOfTheRightMutability) {
  id list = ns::autorelease(msg<id>(cls("NSMutableArray"), "new"));
  msg<void>(list, "addObject:", text("a"));
  Ref frozen = Ref::adopt(msg<id>(list, "copy"));
  Ref thawed = Ref::adopt(msg<id>(frozen.get(), "mutableCopy"));
  msg<void>(list, "addObject:", text("b"));
  EXPECT_EQ(object_getClass(frozen.get()), cls("NSArray"));
  EXPECT_EQ(msg<unsigned long>(frozen.get(), "count"), 1u);
  EXPECT_FALSE(msg<BOOL>(frozen.get(), "respondsToSelector:", objc::sel("addObject:")));
  EXPECT_TRUE(msg<BOOL>(thawed.get(), "respondsToSelector:", objc::sel("addObject:")));
  // An immutable array's copy is the array itself.
  Ref again = Ref::adopt(msg<id>(frozen.get(), "copy"));
  EXPECT_EQ(again.get(), frozen.get());
}

// ---- NSDictionary -----------------------------------------------------------

TEST_F(CollectionTest, KeysAreComparedByIsEqualAndHash) {
  id table = ns::autorelease(msg<id>(cls("NSMutableDictionary"), "new"));
  msg<void>(table, "setObject:forKey:", text("first"), text("key"));
  // A different instance with the same text finds and replaces the entry.
  msg<void>(table, "setObject:forKey:", text("second"), ns::string("key"));
  EXPECT_EQ(msg<unsigned long>(table, "count"), 1u);
  EXPECT_EQ(ns::utf8(msg<id>(table, "objectForKey:", text("key"))), "second");
  // Numbers of equal value are one key whatever their kind.
  msg<void>(table, "setObject:forKey:", text("one"), ns::number(1LL));
  EXPECT_EQ(ns::utf8(msg<id>(table, "objectForKeyedSubscript:", ns::number(1.0))), "one");
  EXPECT_EQ(ns::utf8(msg<id>(table, "objectForKey:", ns::boolean(true))), "one");
  EXPECT_EQ(msg<id>(table, "objectForKey:", nil), nil);
}

TEST_F(CollectionTest, KeysAreCopiedWhenStored) {
  id table = ns::autorelease(msg<id>(cls("NSMutableDictionary"), "new"));
  id key = ns::autorelease(msg<id>(text("enabled"), "mutableCopy"));
  msg<void>(table, "setObject:forKey:", ns::boolean(true), key);
  msg<void>(key, "appendString:", text("X"));
  // Changing the caller's key afterwards changes nothing in the dictionary.
  EXPECT_EQ(msg<id>(table, "objectForKey:", text("enabled")), ns::boolean(true));
  EXPECT_EQ(msg<id>(table, "objectForKey:", text("enabledX")), nil);
  EXPECT_NE(ns::dictionary_items(table)[0].first, key);
}

TEST_F(CollectionTest, NilValuesRaiseExceptThroughSubscriptsWhichRemove) {
  id table = ns::autorelease(msg<id>(cls("NSMutableDictionary"), "new"));
  msg<void>(table, "setObject:forKey:", text("v"), text("k"));
  EXPECT_EQ(raised_name([&] { msg<void>(table, "setObject:forKey:", nil, text("k")); }),
            "NSInvalidArgumentException");
  EXPECT_EQ(raised_name([&] { msg<void>(table, "setObject:forKey:", text("v"), nil); }),
            "NSInvalidArgumentException");
  EXPECT_EQ(msg<unsigned long>(table, "count"), 1u);  // nothing changed
  msg<void>(table, "setObject:forKeyedSubscript:", nil, text("k"));
  EXPECT_EQ(msg<unsigned long>(table, "count"), 0u);
  id objects[] = {text("a"), nil};
  id keys[] = {text("x"), text("y")};
  EXPECT_EQ(raised_name([&] {
              msg<id>(cls("NSDictionary"), "dictionaryWithObjects:forKeys:count:", objects, keys,
                      2ul);
            }),
            "NSInvalidArgumentException");
}

TEST_F(CollectionTest, EntriesKeepTheOrderTheirKeysWereFirstAdded) {
  id table = ns::autorelease(msg<id>(cls("NSMutableDictionary"), "new"));
  for (const char* key : {"b", "a", "c"})
    msg<void>(table, "setObject:forKey:", text(key), text(key));
  msg<void>(table, "setObject:forKey:", text("again"), text("b"));  // keeps its place
  msg<void>(table, "removeObjectForKey:", text("a"));
  msg<void>(table, "setObject:forKey:", text("back"), text("a"));  // now last
  EXPECT_EQ(description_of(table), "{\n    b = again;\n    c = c;\n    a = back;\n}");
  EXPECT_EQ(description_of(msg<id>(table, "allKeys")), "(\n    b,\n    c,\n    a\n)");
  // Equality does not depend on order.
  id same = ns::dictionary(
      {{text("a"), text("back")}, {text("c"), text("c")}, {text("b"), text("again")}});
  EXPECT_TRUE(msg<BOOL>(table, "isEqual:", same));
  msg<void>(table, "setObject:forKey:", text("other"), text("c"));
  EXPECT_FALSE(msg<BOOL>(table, "isEqual:", same));
}

TEST_F(CollectionTest, LookupsStayRightThroughManyInsertionsAndRemovals) {
  id table = ns::autorelease(msg<id>(cls("NSMutableDictionary"), "new"));
  for (long long i = 0; i < 300; ++i) {
    msg<void>(table, "setObject:forKey:", ns::number(i * 10), ns::number(i));
  }
  for (long long i = 0; i < 300; i += 3) msg<void>(table, "removeObjectForKey:", ns::number(i));
  EXPECT_EQ(msg<unsigned long>(table, "count"), 200u);
  for (long long i = 0; i < 300; ++i) {
    id value = msg<id>(table, "objectForKey:", ns::number(i));
    if (i % 3 == 0) {
      EXPECT_EQ(value, nil) << i;
    } else {
      EXPECT_EQ(msg<long long>(value, "longLongValue"), i * 10) << i;
    }
  }
}

TEST_F(CollectionTest, DictionaryCopiesAreIndependent) {
  id table = ns::autorelease(msg<id>(cls("NSMutableDictionary"), "new"));
  msg<void>(table, "setObject:forKey:", text("1"), text("a"));
  Ref frozen = Ref::adopt(msg<id>(table, "copy"));
  id widened = ns::autorelease(
      msg<id>(msg<id>(cls("NSMutableDictionary"), "alloc"), "initWithDictionary:", frozen.get()));
  msg<void>(widened, "setObject:forKey:", text("2"), text("b"));
  msg<void>(table, "removeAllObjects");
  EXPECT_EQ(object_getClass(frozen.get()), cls("NSDictionary"));
  EXPECT_EQ(msg<unsigned long>(frozen.get(), "count"), 1u);
  EXPECT_EQ(msg<unsigned long>(widened, "count"), 2u);
}

// ---- Sets --------------------------------------------------------------------

TEST_F(CollectionTest, CountedSetsCountEqualObjectsAndPlainSetsKeepOne) {
  id colors = ns::array({text("#000000"), text("#FFFFFF"), ns::string("#000000"), text("#000000")});
  id counted =
      ns::autorelease(msg<id>(msg<id>(cls("NSCountedSet"), "alloc"), "initWithArray:", colors));
  EXPECT_EQ(msg<unsigned long>(counted, "count"), 2u);
  EXPECT_EQ(msg<unsigned long>(counted, "countForObject:", text("#000000")), 3u);
  EXPECT_EQ(msg<unsigned long>(counted, "countForObject:", text("#FFFFFF")), 1u);
  EXPECT_EQ(msg<unsigned long>(counted, "countForObject:", text("#123456")), 0u);
  // Removing takes one occurrence at a time.
  msg<void>(counted, "removeObject:", text("#FFFFFF"));
  msg<void>(counted, "removeObject:", text("#000000"));
  EXPECT_EQ(msg<unsigned long>(counted, "countForObject:", text("#000000")), 2u);
  EXPECT_EQ(description_of(msg<id>(counted, "allObjects")), "(\n    \"#000000\"\n)");

  id plain = msg<id>(cls("NSMutableSet"), "setWithArray:", colors);
  EXPECT_EQ(msg<unsigned long>(plain, "count"), 2u);
  msg<void>(plain, "removeObject:", text("#000000"));  // gone whatever was added
  EXPECT_EQ(description_of(plain), "{(\n    \"#FFFFFF\"\n)}");
  EXPECT_TRUE(
      msg<BOOL>(plain, "isEqual:", msg<id>(cls("NSSet"), "setWithObject:", text("#FFFFFF"))));
  EXPECT_EQ(raised_name([&] { msg<void>(plain, "addObject:", nil); }),
            "NSInvalidArgumentException");
}

// ---- NSData and NSDate ------------------------------------------------------

TEST_F(CollectionTest, DataAndDatesCompareByValue) {
  id bytes = ns::data(std::string("\x00\x01\x02\x03\xff", 5));
  EXPECT_TRUE(msg<BOOL>(bytes, "isEqual:", ns::data(std::string("\x00\x01\x02\x03\xff", 5))));
  EXPECT_FALSE(msg<BOOL>(bytes, "isEqual:", ns::data("\x00")));
  EXPECT_EQ(description_of(bytes), "<00010203 ff>");
  id reference = msg<id>(cls("NSDate"), "dateWithTimeIntervalSinceReferenceDate:", 0.0);
  EXPECT_EQ(msg<double>(reference, "timeIntervalSince1970"), 978307200.0);
  EXPECT_EQ(description_of(reference), "2001-01-01 00:00:00 +0000");
  EXPECT_TRUE(msg<BOOL>(reference, "isEqual:", ns::date_since_1970(978307200.0)));
}

}  // namespace
