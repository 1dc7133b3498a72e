// The catalogues that tools/content builds, read as the screens read them:
// every entry names a picture that the image library loads, and every topic
// number names a topic.
#include <gtest/gtest.h>

#include "imagelib/pix_image.h"
#include "screens/catalogues.h"

namespace {

CString BuiltAppDir() { return CString(TINTO_APP_DIR) + "/"; }

bool Loads(CString strPath) {
    strPath.Replace('\\', '/');
    PixImage image;
    return image.Load(strPath);
}

TEST(BuiltCatalogues, FreeColouringEntriesNameLoadablePicturesOfKnownTopics) {
    CStringArray topics;
    CFreePictureArray entries;
    ReadCatalogues(topics, entries, BuiltAppDir());
    ASSERT_GT(topics.GetSize(), 0);
    ASSERT_GT(entries.GetSize(), 0);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        EXPECT_TRUE(Loads(entries[i].strPicturePath)) << entries[i].strPicturePath.str();
        EXPECT_GE(entries[i].nTopic, 1);
        EXPECT_LE(entries[i].nTopic, topics.GetSize());
    }
}

TEST(BuiltCatalogues, SampleColouringEntriesNameLoadablePairs) {
    CStringArray topics;
    CSamplePictureArray entries;
    ReadCatalogues(topics, entries, BuiltAppDir());
    ASSERT_GT(entries.GetSize(), 0);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        EXPECT_TRUE(Loads(entries[i].strSamplePath)) << entries[i].strSamplePath.str();
        EXPECT_TRUE(Loads(entries[i].strPicturePath)) << entries[i].strPicturePath.str();
        EXPECT_GE(entries[i].nTopic, 1);
        EXPECT_LE(entries[i].nTopic, topics.GetSize());
    }
}

}  // namespace
