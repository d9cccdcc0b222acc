// Saving files: through a temporary file renamed over the target, keeping
// permission bits, following symbolic links, never leaving half a file.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;
namespace fs = std::filesystem;

TEST_F(XmlTest, SaveWritesTheFileAndClearsTheChangeCount)
{
    testing::TempFolder folder;
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.RootElement()->AddElement("b");
    EXPECT_TRUE(doc.IsModified());
    doc.SaveFile(folder.File("x.xml"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(testing::ReadFile(folder.File("x.xml")), "<a><b/></a>\n");
    EXPECT_EQ(doc.XML().Text(), "<a><b/></a>\r\n");
}

TEST_F(XmlTest, SaveKeepsThePermissionBits)
{
    testing::TempFolder folder;
    std::string path = folder.File("x.xml");
    testing::WriteFile(path, "old");
    ::chmod(path.c_str(), 0640);
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.SaveFile(path);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(testing::ReadFile(path), "<a/>\n");
}

TEST_F(XmlTest, SaveWritesThroughASymbolicLink)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("real.xml"), "old");
    fs::create_symlink(folder.File("real.xml"), folder.File("link.xml"));
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.SaveFile(folder.File("link.xml"));
    EXPECT_TRUE(fs::is_symlink(folder.File("link.xml")));
    EXPECT_EQ(testing::ReadFile(folder.File("real.xml")), "<a/>\n");
}

// Tries the save; true when it failed with the layer's exception and the
// document is still marked changed.
bool SaveFails(const std::string &path)
{
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.RootElement()->AddElement("b");
    try {
        doc.SaveFile(path);
    } catch (const EXMLLayerError &e) {
        return std::string(e.what()).find("Cannot save") != std::string::npos && doc.IsModified();
    }
    return false;
}

TEST_F(XmlTest, FailedSaveInAReadOnlyFolderLeavesTheOldFileWhole)
{
    testing::TempFolder folder;
    std::string path = folder.File("x.xml");
    testing::WriteFile(path, "<old/>");
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    if (::geteuid() != 0) {
        EXPECT_TRUE(SaveFails(path));
    } else {
        // Root writes into read-only folders; try as an unprivileged user instead.
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(2);
            ::_exit(SaveFails(path) ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 2) {
            fs::permissions(folder.Path(), fs::perms::owner_all);
            GTEST_SKIP() << "cannot switch to an unprivileged user here";
        }
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    fs::permissions(folder.Path(), fs::perms::owner_all);
    EXPECT_EQ(testing::ReadFile(path), "<old/>");
    int files = 0;
    for ([[maybe_unused]] auto &entry : fs::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(XmlTest, FailedSaveIntoAMissingFolderRaisesAClearMessage)
{
    testing::TempFolder folder;
    TXMLDocument doc;
    doc.LoadString("<a/>");
    try {
        doc.SaveFile(folder.File("no/such/folder/x.xml"));
        FAIL();
    } catch (const EXMLLayerError &e) {
        EXPECT_NE(std::string(e.what()).find("Cannot save"), std::string::npos) << e.what();
    }
}

TEST_F(XmlTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    testing::TempFolder folder;
    std::string path = folder.File("x.xml");
    testing::WriteFile(path, "<old/>");
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.SetDeclEncoding("NO-SUCH-ENCODING");
    EXPECT_THROW(doc.SaveFile(path), EXMLLayerError);
    EXPECT_EQ(testing::ReadFile(path), "<old/>");
    int files = 0;
    for ([[maybe_unused]] auto &entry : fs::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(XmlTest, SaveWithAnEmptyFileNameFailsAndWritesNothing)
{
    TXMLDocument doc;
    doc.LoadString("<a/>");
    try {
        doc.SaveFile("");
        FAIL();
    } catch (const EXMLLayerError &e) {
        EXPECT_NE(std::string(e.what()).find("no file name"), std::string::npos) << e.what();
    }
}

TEST_F(XmlTest, SaveAndReopenKeepTheText)
{
    testing::TempFolder folder;
    TXMLDocument doc;
    doc.SetParseOptions({poPreserveWhiteSpace});
    doc.XML().SetText("<?xml version=\"1.0\"?>\r\n<a>\r\n  <b x=\"&amp;\"/>\r\n</a>\r\n");
    doc.SetActive(true);
    doc.SaveFile(folder.File("x.xml"));
    TXMLDocument back;
    back.SetParseOptions({poPreserveWhiteSpace});
    back.LoadFile(folder.File("x.xml"));
    EXPECT_EQ(back.XML().Text(), "<?xml version=\"1.0\"?>\r\n<a>\r\n  <b x=\"&amp;\"/>\r\n</a>\r\n");
}

} // namespace
} // namespace tarnwick::xml
