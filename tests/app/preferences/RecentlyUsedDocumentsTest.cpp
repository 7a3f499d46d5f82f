#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/preferences/RecentlyUsedDocuments.h"

namespace {

using namespace NSQuillet;

class CCountingListener final : public IRecentlyUsedDocumentsListener {
public:
    void OnRecentlyUsedDocumentsChanged() override { ++fCalls; }
    int fCalls = 0;
};

std::vector<std::string> Paths(const CRecentlyUsedDocuments& list) {
    std::vector<std::string> paths;
    for (const SRecentDocument& entry : list.GetEntries()) paths.push_back(entry.fPath);
    return paths;
}

TEST(RecentlyUsedDocuments, KeepEightMostRecentFirstOneEntryAPath) {
    CRecentlyUsedDocuments list;
    CCountingListener listener;
    list.AddListener(&listener);
    for (int i = 1; i <= 9; ++i) EXPECT_TRUE(list.Add("/l/" + std::to_string(i), std::to_string(i)));
    EXPECT_EQ(listener.fCalls, 9);
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/l/9", "/l/8", "/l/7", "/l/6", "/l/5", "/l/4", "/l/3", "/l/2"}));

    // Opening a listed document moves it up and takes its new name.
    list.Add("/l/4", "four");
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/l/4", "/l/9", "/l/8", "/l/7", "/l/6", "/l/5", "/l/3", "/l/2"}));
    EXPECT_EQ(list.GetEntries()[0].fDisplayName, "four");
    EXPECT_EQ(listener.fCalls, 10);

    // Nothing changes: no one is told.
    list.Add("/l/4", "four");
    EXPECT_FALSE(list.Remove("/l/1"));
    EXPECT_EQ(listener.fCalls, 10);
    list.Add("/l/4", "4");
    EXPECT_EQ(listener.fCalls, 11);

    EXPECT_TRUE(list.Remove("/l/9"));
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/l/4", "/l/8", "/l/7", "/l/6", "/l/5", "/l/3", "/l/2"}));
    EXPECT_EQ(listener.fCalls, 12);

    list.RemoveListener(&listener);
    list.Add("/l/1", "1");
    EXPECT_EQ(listener.fCalls, 12);
}

TEST(RecentlyUsedDocuments, StoreOnlyWhatThePreferencesFileCanHold) {
    CRecentlyUsedDocuments list;
    EXPECT_FALSE(list.Add("", "empty"));
    EXPECT_FALSE(list.Add("/l/\xFF.lx2", "not UTF-8"));
    EXPECT_FALSE(list.Add(std::string("/l\0/a.lx2", 9), "NUL"));
    EXPECT_TRUE(list.GetEntries().empty());
    // A name is repaired and cut to 95 characters (here 95 "ä", 2 bytes each).
    std::string name;
    for (int i = 0; i < 100; ++i) name += "\xC3\xA4";
    EXPECT_TRUE(list.Add("/l/a", name + "\xFF"));
    EXPECT_EQ(list.GetEntries()[0].fDisplayName, name.substr(0, 190));
}

TEST(RecentlyUsedDocuments, ReplaceTakesTheFirstEightStorableEntriesOncePerPath) {
    CRecentlyUsedDocuments list;
    CCountingListener listener;
    list.AddListener(&listener);
    std::vector<SRecentDocument> entries = {{"/l/a", "a"}, {"", "no path"}, {"/l/a", "again"}};
    for (int i = 0; i < 9; ++i) entries.push_back({"/l/" + std::to_string(i), "n"});
    list.Replace(entries);
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/l/a", "/l/0", "/l/1", "/l/2", "/l/3", "/l/4", "/l/5", "/l/6"}));
    EXPECT_EQ(list.GetEntries()[0].fDisplayName, "a");
    EXPECT_EQ(listener.fCalls, 1);
    list.Replace(entries);
    EXPECT_EQ(listener.fCalls, 1);
    list.Replace({});
    EXPECT_TRUE(list.GetEntries().empty());
    EXPECT_EQ(listener.fCalls, 2);
}

}  // namespace
