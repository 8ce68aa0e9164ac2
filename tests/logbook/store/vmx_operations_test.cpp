// The record library's reads and writes on an open logbook-shaped file.
#include "vmx_test_support.h"

#include <algorithm>
#include <set>

using Keys = std::vector<std::string>;

TEST_F(VmxFixture, PrimaryIndexOrdersByNumberBothWays)
{
    add(" 10000.5", qso("K1AAA"));
    add(" 9999.5", qso("K1BBB"));
    add(" 45292", qso("K1CCC"));      // midnight: no point
    add(" 45292.3333333333", qso("K1DDD"));
    add("45292.8333333333", qso("K1EEE")); // typed in the grid: no leading blank
    add(" .5", qso("K1FFF"));
    EXPECT_EQ(walk(0, VmxGetNext), (Keys{" .5", " 9999.5", " 10000.5", " 45292", " 45292.3333333333", "45292.8333333333"}));
    EXPECT_EQ(walk(0, VmxGetPrevious), (Keys{"45292.8333333333", " 45292.3333333333", " 45292", " 10000.5", " 9999.5", " .5"}));
    VmxInfoRecord info;
    ASSERT_EQ(VmxInfo(handle, info), VmxOk);
    EXPECT_EQ(info.RecordCount, 6);
    EXPECT_EQ(info.FieldCount, 19);
    EXPECT_EQ(info.IndexCount, 12);
}

TEST_F(VmxFixture, KeysThatSpellOneNumberAreOneKey)
{
    add(" 45292.5", qso("K1ABC", "W1OP", "Ann"));
    struct Case { const char* key; std::int16_t add; };
    for (const Case& c : {Case{"45292.5", VmxDuplicateKey}, Case{"45292.50", VmxDuplicateKey},
                          Case{" 4.52925E4 ", VmxDuplicateKey}, Case{"+45292.5", VmxDuplicateKey},
                          Case{"", VmxBadKey}, Case{"abc", VmxBadKey}, Case{"45292.5x", VmxBadKey},
                          Case{"nan", VmxBadKey}, Case{" 123456789012345678901", VmxBadKey}})
        EXPECT_EQ(VmxPut(handle, c.key, qso("K9ZZZ"), VmxAdd), c.add) << c.key;

    std::string ik, pk;
    VmxRecord r;
    ASSERT_EQ(VmxGet(handle, 0, VmxGetEqual, "45292.50", ik, pk, r), VmxOk);
    EXPECT_EQ(pk, " 45292.5"); // the text as it was put
    EXPECT_EQ(ik, " 45292.5");
    EXPECT_EQ(r[6], "Ann");
    EXPECT_EQ(VmxDelete(handle, "45292.5"), VmxOk);
    EXPECT_EQ(VmxDelete(handle, "45292.5"), VmxNotFound);
    EXPECT_EQ(walk(0, VmxGetNext), Keys{});
}

TEST_F(VmxFixture, CallsignSearchWalksEqualKeysOldestFirstAndStopsUntouched)
{
    add(" 45300.5", qso("K1ABC", "W1OP", "third"));
    add(" 45100.5", qso("K1ABC", "W1OP", "first"));
    add(" 45200.5", qso("K1ABC", "W1OP", "second"));
    add(" 45150.5", qso("K1ABCD"));
    add(" 45250.5", qso("k1abc"));
    add(" 45400.5", qso("K1AB"));

    std::string ik, pk;
    VmxRecord r;
    ASSERT_EQ(VmxGet(handle, 1, VmxGetFirstEqual, "K1ABC", ik, pk, r), VmxOk);
    EXPECT_EQ(ik, "K1ABC");
    EXPECT_EQ(pk, " 45100.5");
    Keys seen{pk};
    while (VmxGet(handle, 1, VmxGetNextEqual, "K1ABC", ik, pk, r) == VmxOk)
        seen.push_back(pk);
    EXPECT_EQ(seen, (Keys{" 45100.5", " 45200.5", " 45300.5"}));
    // The failed read left the last record read in every buffer: the newest QSO.
    EXPECT_EQ(pk, " 45300.5");
    EXPECT_EQ(ik, "K1ABC");
    EXPECT_EQ(r[6], "third");
    // ... and the position too: the next record in callsign order follows it.
    ASSERT_EQ(VmxGet(handle, 1, VmxGetNext, "", ik, pk, r), VmxOk);
    EXPECT_EQ(ik, "K1ABCD");

    // A miss is status 1 and changes nothing either.
    EXPECT_EQ(VmxGet(handle, 1, VmxGetFirstEqual, "K1ABCDE", ik, pk, r), VmxNotFound);
    EXPECT_EQ(VmxGet(handle, 1, VmxGetFirstEqual, "K1ABC ", ik, pk, r), VmxNotFound); // compared exactly
    EXPECT_EQ(VmxGet(handle, 0, VmxGetEqual, " 1", ik, pk, r), VmxNotFound);
    EXPECT_EQ(ik, "K1ABCD");
    EXPECT_EQ(pk, " 45150.5");
}

TEST_F(VmxFixture, PreviousEqualWalksOneOperatorNewestFirst)
{
    for (int i = 0; i < 30; ++i)
        add(" " + std::to_string(45000 + i) + ".5", qso("K1X" + std::to_string(i), i % 3 ? "W1OP" : "W9CLUB"));
    ASSERT_EQ(VmxEOF(handle, 2), VmxOk);
    std::string ik, pk;
    VmxRecord r;
    Keys page;
    while (page.size() < 5 && VmxGet(handle, 2, VmxGetPreviousEqual, "W1OP", ik, pk, r) == VmxOk) {
        EXPECT_EQ(r[1], "W1OP");
        page.push_back(pk);
    }
    EXPECT_EQ(page, (Keys{" 45029.5", " 45028.5", " 45026.5", " 45025.5", " 45023.5"}));
    // From before the first record there is nothing earlier.
    ASSERT_EQ(VmxBOF(handle, 2), VmxOk);
    EXPECT_EQ(VmxGet(handle, 2, VmxGetPreviousEqual, "W1OP", ik, pk, r), VmxNotFound);
}

TEST_F(VmxFixture, EachIndexKeepsItsOwnPosition)
{
    add(" 1", qso("K3CCC", "W1OP"));
    add(" 2", qso("K1AAA", "W2OP"));
    add(" 3", qso("K2BBB", "W3OP"));
    std::string ik, pk;
    VmxRecord r;
    ASSERT_EQ(VmxBOF(handle, 0), VmxOk);
    ASSERT_EQ(VmxBOF(handle, 1), VmxOk);
    ASSERT_EQ(VmxGet(handle, 0, VmxGetNext, "", ik, pk, r), VmxOk);
    EXPECT_EQ(pk, " 1");
    ASSERT_EQ(VmxGet(handle, 1, VmxGetNext, "", ik, pk, r), VmxOk);
    EXPECT_EQ(ik, "K1AAA");
    ASSERT_EQ(VmxGet(handle, 0, VmxGetNext, "", ik, pk, r), VmxOk);
    EXPECT_EQ(pk, " 2");
    ASSERT_EQ(VmxGet(handle, 1, VmxGetNext, "", ik, pk, r), VmxOk);
    EXPECT_EQ(ik, "K2BBB");
    // A read by key moves the position of the index it names.
    ASSERT_EQ(VmxGet(handle, 0, VmxGetEqual, "1", ik, pk, r), VmxOk);
    ASSERT_EQ(VmxGet(handle, 0, VmxGetNext, "", ik, pk, r), VmxOk);
    EXPECT_EQ(pk, " 2");
    // Past either end a walk reports status 1; the other direction still works.
    ASSERT_EQ(VmxEOF(handle, 0), VmxOk);
    EXPECT_EQ(VmxGet(handle, 0, VmxGetNext, "", ik, pk, r), VmxNotFound);
    ASSERT_EQ(VmxGet(handle, 0, VmxGetPrevious, "", ik, pk, r), VmxOk);
    EXPECT_EQ(pk, " 3");
}

TEST_F(VmxFixture, SecondaryWalksRunInKeyThenPrimaryKeyOrderBothWays)
{
    const char* calls[] = {"K2B", "K1A", "K2B", "K1A", "K3C", "K2B"};
    for (int i = 0; i < 6; ++i)
        add(" " + std::to_string(100 - i), qso(calls[i])); // newer records get smaller keys
    Keys forward = walk(1, VmxGetNext);
    EXPECT_EQ(forward, (Keys{" 97", " 99", " 95", " 98", " 100", " 96"}));
    Keys backward = walk(1, VmxGetPrevious);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward);
}

TEST_F(VmxFixture, SecondaryKeysAreCutToTheirWidthAndReturnedUnpadded)
{
    add(" 1", qso("DL1ABCDEFGHIJKLMNOP")); // 19 characters, the index holds 15
    add(" 2", qso("G4X"));
    std::string ik, pk;
    VmxRecord r;
    ASSERT_EQ(VmxGet(handle, 1, VmxGetFirstEqual, "DL1ABCDEFGHIJKLMNOP", ik, pk, r), VmxOk);
    EXPECT_EQ(ik, "DL1ABCDEFGHIJKL");
    EXPECT_EQ(r[0], "DL1ABCDEFGHIJKLMNOP"); // the field itself is whole
    ASSERT_EQ(VmxGet(handle, 1, VmxGetFirstEqual, "G4X", ik, pk, r), VmxOk);
    EXPECT_EQ(ik, "G4X");
    // Band (index 3, 5 wide) and mode (index 4) are indexes as well.
    ASSERT_EQ(VmxGet(handle, 4, VmxGetFirstEqual, "PSK", ik, pk, r), VmxOk);
    EXPECT_EQ(pk, " 1");
}

TEST_F(VmxFixture, FieldsAreBytesOfWindows1252)
{
    VmxRecord r = qso("OZ1\xD8Z", "W1OP", std::string("Jos\xE9\0x", 6));
    r[18] = "last";
    add(" 1", r);
    add(" 2", qso("OZ1AZ"));
    add(" 3", qso("OZ1\xC5Z"));
    std::string ik, pk;
    VmxRecord back;
    ASSERT_EQ(VmxGet(handle, 0, VmxGetEqual, "1", ik, pk, back), VmxOk);
    EXPECT_EQ(back, r);
    // Byte order: 'A' (0x41) < 0xC5 < 0xD8.
    Keys calls;
    ASSERT_EQ(VmxBOF(handle, 1), VmxOk);
    while (VmxGet(handle, 1, VmxGetNext, "", ik, pk, back) == VmxOk)
        calls.push_back(ik);
    EXPECT_EQ(calls, (Keys{"OZ1AZ", "OZ1\xC5Z", "OZ1\xD8Z"}));
}

TEST_F(VmxFixture, DeletingDuringAWalkLosesNoOtherRecord)
{
    // The operator deletion: walk index 2 from the start and delete the operator's records.
    for (int i = 0; i < 40; ++i)
        add(" " + std::to_string(45000 + i), qso("K1X", i % 4 == 0 ? "W2OTHER" : (i % 4 == 1 ? "w1op" : "W1OP")));
    ASSERT_EQ(VmxBOF(handle, 2), VmxOk);
    std::string ik, pk;
    VmxRecord r;
    int deleted = 0, read = 0;
    while (VmxGet(handle, 2, VmxGetNext, "", ik, pk, r) == VmxOk) {
        ++read;
        if (ik == "W1OP") {
            ASSERT_EQ(VmxDelete(handle, pk), VmxOk);
            ++deleted;
        }
    }
    EXPECT_EQ(read, 40);
    EXPECT_EQ(deleted, 20);
    VmxInfoRecord info;
    ASSERT_EQ(VmxInfo(handle, info), VmxOk);
    EXPECT_EQ(info.RecordCount, 20);
    // Also walking backwards on the primary index.
    ASSERT_EQ(VmxEOF(handle, 0), VmxOk);
    int left = 0;
    while (VmxGet(handle, 0, VmxGetPrevious, "", ik, pk, r) == VmxOk) {
        ASSERT_EQ(VmxDelete(handle, pk), VmxOk);
        ++left;
    }
    EXPECT_EQ(left, 20);
}

TEST_F(VmxFixture, ReplaceNeedsAStoredKey)
{
    EXPECT_EQ(VmxPut(handle, " 45292.5", qso("K1ABC"), VmxReplace), VmxNotFound);
    EXPECT_EQ(walk(0, VmxGetNext), Keys{});
    add(" 45292.5", qso("K1ABC", "W1OP", "Ann"));
    ASSERT_EQ(VmxPut(handle, "45292.5", qso("K1ABD", "W1OP", "Bob"), VmxReplace), VmxOk);
    std::string ik, pk;
    VmxRecord r;
    ASSERT_EQ(VmxGet(handle, 1, VmxGetFirstEqual, "K1ABD", ik, pk, r), VmxOk);
    EXPECT_EQ(pk, " 45292.5"); // the key text stays as first put
    EXPECT_EQ(r[6], "Bob");
    EXPECT_EQ(VmxGet(handle, 1, VmxGetFirstEqual, "K1ABC", ik, pk, r), VmxNotFound);
    VmxInfoRecord info;
    ASSERT_EQ(VmxInfo(handle, info), VmxOk);
    EXPECT_EQ(info.RecordCount, 1);
}

TEST_F(VmxFixture, RefusesBadArguments)
{
    add(" 1", qso("K1ABC"));
    std::string ik = "in", pk = "out";
    VmxRecord r{"untouched"};
    struct Case { int handle, index, op; const char* key; std::int16_t status; };
    for (const Case& c : {Case{0, 0, 2, "", VmxBadHandle}, Case{-1, 0, 2, "", VmxBadHandle},
                          Case{1, 13, 2, "", VmxBadIndex}, Case{1, -1, 2, "", VmxBadIndex},
                          Case{1, 0, 3, "", VmxBadOperation}, Case{1, 0, 0, "K1ABC", VmxBadKey},
                          Case{1, 1, 0, "", VmxBadKey}}) {
        std::int32_t h = c.handle == 1 ? handle : c.handle;
        EXPECT_EQ(VmxGet(h, c.index, c.op, c.key, ik, pk, r), c.status) << c.index << "/" << c.op;
    }
    EXPECT_EQ(ik, "in");
    EXPECT_EQ(pk, "out");
    EXPECT_EQ(r, VmxRecord{"untouched"});
    EXPECT_EQ(VmxPut(handle, " 2", qso("K1ABC"), 3), VmxBadOperation);
    EXPECT_EQ(VmxPut(handle, " 2", VmxRecord(20), VmxAdd), VmxBadRecord);
    EXPECT_EQ(VmxPut(handle, " 2", VmxRecord{"K1ABC"}, VmxAdd), VmxOk); // the rest stored empty
    EXPECT_EQ(VmxBOF(handle, 13), VmxBadIndex);
    EXPECT_EQ(VmxEOF(handle, 13), VmxBadIndex);
}

TEST(VmxReturnCode, EveryStatusHasItsOwnText)
{
    std::set<std::string> texts;
    for (int s = VmxOk; s <= VmxInternalError; ++s) {
        std::string t = VmxReturnCode(std::int16_t(s));
        EXPECT_EQ(t.find("Unknown"), std::string::npos) << s;
        texts.insert(t);
    }
    EXPECT_EQ(texts.size(), std::size_t(VmxInternalError + 1));
    EXPECT_EQ(VmxReturnCode(VmxFileMissing), "File not found");
    EXPECT_EQ(VmxReturnCode(99), "Unknown record library status 99");
}
