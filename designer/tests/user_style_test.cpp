// The designer over a program's installed form: the user's style is what it opens and saves, the
// installed form stays as it is, and Revert to Designed brings the form back.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "apps/designed_chart.h"
#include "bag_file.h"
#include "designer_window.h"
#include "host/qt/qt_container.h"

namespace designer {
namespace {

using automation::Variant;

QString installedForm(const char* name) {
  return QFile::decodeName(apps::designedChartFile(name).c_str());
}

// The installed forms read-only, as a packaged install has them, and the user's configuration
// folder a fresh one, for the test's length.
class UserStyle : public ::testing::Test {
 protected:
  void SetUp() override {
    oldConfig_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    for (const char* name : {"zelkchart.bag", "zelkspec.bag"}) {
      ASSERT_FALSE(installedForm(name).isEmpty()) << name;
      QFile(installedForm(name))
          .setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
    window_.setMessageHandler([this](const QString& m) { messages_.push_back(m.toStdString()); });
  }
  void TearDown() override {
    for (const char* name : {"zelkchart.bag", "zelkspec.bag"}) {
      QFile(installedForm(name))
          .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                          QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
    qputenv("XDG_CONFIG_HOME", oldConfig_);
  }
  QString userFile(const char* name) const { return config_.filePath("zelk/forms/") + name; }
  std::int32_t gridColor() { return window_.chart().control().get("GridColor").toI4(); }

  QTemporaryDir config_;
  QByteArray oldConfig_;
  DesignerWindow window_;
  std::vector<std::string> messages_;
};

TEST_F(UserStyle, SavesTheUsersStyleAndRevertsToTheInstalledForm) {
  const QString installed = installedForm("zelkchart.bag");
  const std::string installedText = *readBagFile(installed);
  ASSERT_TRUE(window_.openFile(installed));
  const std::int32_t designedGrid = gridColor();
  EXPECT_EQ(window_.filePath(), userFile("zelkchart.bag"));
  EXPECT_EQ(window_.chart().size(), QSize(601, 257));  // the recorder's chart, not the pane

  window_.chart().control().put("GridColor", Variant(std::int32_t{0x0000FF00}));
  ASSERT_TRUE(window_.save()) << (messages_.empty() ? "" : messages_.front());
  EXPECT_EQ(*readBagFile(installed), installedText);
  ASSERT_TRUE(QFileInfo::exists(userFile("zelkchart.bag")));

  // Opened again, by either name, the user's style is what shows.
  for (const QString& path : {installed, userFile("zelkchart.bag")}) {
    ASSERT_TRUE(window_.openFile(path));
    EXPECT_EQ(gridColor(), 0x0000FF00) << path.toStdString();
    EXPECT_EQ(window_.filePath(), userFile("zelkchart.bag"));
  }

  // Revert asks first; a no keeps the style.
  std::vector<bool> answers = {false, true};
  window_.setRevertQuestion([&answers](const QString&) {
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  });
  EXPECT_FALSE(window_.revertToDesigned());
  EXPECT_TRUE(QFileInfo::exists(userFile("zelkchart.bag")));
  EXPECT_TRUE(window_.revertToDesigned());
  EXPECT_FALSE(QFileInfo::exists(userFile("zelkchart.bag")));
  EXPECT_EQ(gridColor(), designedGrid);
  EXPECT_EQ(*readBagFile(installed), installedText);
  EXPECT_TRUE(messages_.empty()) << messages_.front();

  // The spectrograph's chart at its own size; a file of no program's form fills the pane and
  // cannot be reverted.
  ASSERT_TRUE(window_.openFile(installedForm("zelkspec.bag")));
  EXPECT_EQ(window_.chart().size(), QSize(105, 49));
  const QString other = config_.filePath("other.bag");
  QFile::copy(installed, other);
  ASSERT_TRUE(window_.openFile(other));
  EXPECT_EQ(window_.filePath(), QFileInfo(other).absoluteFilePath());
  EXPECT_FALSE(window_.revertToDesigned());
  EXPECT_EQ(messages_.size(), 1u);
}

}  // namespace
}  // namespace designer
