// The designer as a person uses it: the forms' files opened, settings changed through the pages'
// widgets, saved, and the saved file loaded by a program's headless container.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <string>
#include <vector>

#include "bag_file.h"
#include "designer_window.h"
#include "help_pages.h"
#include "host/headless.h"
#include "host/qt/color_text.h"
#include "host/qt/page_widget.h"
#include "host/qt/qt_container.h"

namespace designer {
namespace {

using automation::Variant;
using host::qt::PageWidget;

const automation::Guid kChart = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

std::vector<std::uint32_t> pixelsOf(const host::PixelView& view) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < view.height; ++y)
    pixels.insert(pixels.end(), view.pixels + y * view.stride,
                  view.pixels + y * view.stride + view.width);
  return pixels;
}

// A copy of a form's file to edit, so the sources stay as they are.
class Designer : public ::testing::Test {
 protected:
  QString copyOfForm(const char* name) {
    const QString to = dir_.filePath(name);
    QFile::copy(QStringLiteral(ZELK_FORMS_DIR "/") + name, to);
    QFile(to).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return to;
  }
  void open(const QString& path) {
    window_.setMessageHandler([this](const QString& m) { messages_.push_back(m.toStdString()); });
    ASSERT_TRUE(window_.openFile(path));
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }
  PageWidget& pageTitled(const QString& title) {
    for (int i = 0; i < window_.pageCount(); ++i) {
      if (window_.page(i).title() == title) {
        window_.sheet().setCurrentIndex(i);
        return window_.page(i);
      }
    }
    ADD_FAILURE() << "no page " << title.toStdString();
    return window_.page(0);
  }
  // Types into a field's line edit (or editable combo) and leaves it with Enter.
  static void type(PageWidget& page, const char* property, const QString& text) {
    QWidget* input = page.inputOf(page.fieldOf(property));
    ASSERT_NE(input, nullptr) << property;
    auto* line = qobject_cast<QLineEdit*>(input);
    if (!line) line = qobject_cast<QComboBox*>(input)->lineEdit();
    line->selectAll();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
  }
  static std::string text(PageWidget& page, const char* property) {
    std::array<Variant, 1> field = {Variant(page.fieldOf(property))};
    return page.page().call("FieldText", field).toString();
  }

  QTemporaryDir dir_;
  DesignerWindow window_;
  std::vector<std::string> messages_;
};

TEST_F(Designer, ColourChangedOnThePageIsSavedAndLoadsAsTheSamePicture) {
  const QString file = copyOfForm("zelkchart.bag");
  open(file);
  EXPECT_FALSE(window_.isModified());
  EXPECT_EQ(window_.pageCount(), 11);
  const std::vector<std::uint32_t> before = pixelsOf(window_.chart().screenImage());

  PageWidget& graticule = pageTitled("Graticule");
  type(graticule, "GridColor", "&H000080FF");
  EXPECT_TRUE(messages_.empty()) << messages_.front();
  window_.chart().pump();
  EXPECT_EQ(window_.chart().control().get("GridColor").toI4(), 0x000080FF);
  EXPECT_NE(pixelsOf(window_.chart().screenImage()), before);  // shown at once
  EXPECT_TRUE(window_.isModified());
  EXPECT_TRUE(window_.isWindowModified());
  ASSERT_TRUE(window_.save());
  EXPECT_FALSE(window_.isModified());

  // The saved file in a program's container against the original with the property set directly.
  const auto saved = readBagFile(file);
  ASSERT_TRUE(saved);
  const auto original = readBagFile(QStringLiteral(ZELK_FORMS_DIR "/zelkchart.bag"));
  ASSERT_TRUE(original);
  const QSize size = window_.chart().size();
  host::HeadlessContainer reloaded(size.width(), size.height());
  reloaded.loadBag(kChart, *saved);
  reloaded.pump();
  host::HeadlessContainer direct(size.width(), size.height());
  direct.loadBag(kChart, *original).put("GridColor", Variant(std::int32_t{0x000080FF}));
  direct.pump();
  EXPECT_EQ(pixelsOf(reloaded.screen()), pixelsOf(direct.screen()));
  EXPECT_EQ(pixelsOf(reloaded.screen()), pixelsOf(window_.chart().screenImage()));
  EXPECT_NE(saved->find("GridColor = &H000080FF"), std::string::npos);
  if (const QByteArray shot = qgetenv("ZELK_DESIGNER_SHOT"); !shot.isEmpty())
    window_.grab().save(QString::fromLocal8Bit(shot));
}

TEST_F(Designer, EveryKindOfFieldReachesTheControl) {
  open(copyOfForm("zelkspec.bag"));
  automation::Dispatch& chart = window_.chart().control();

  // Check box, drop-down list, number with its spin buttons, and the selector typed and chosen.
  PageWidget& graticule = pageTitled("Graticule");
  auto* grid = qobject_cast<QCheckBox*>(graticule.inputOf(graticule.fieldOf("GridOn")));
  ASSERT_NE(grid, nullptr);
  const bool gridOn = chart.get("GridOn").toBool();
  grid->click();
  EXPECT_EQ(chart.get("GridOn").toBool(), !gridOn);

  auto* gridType = qobject_cast<QComboBox*>(graticule.inputOf(graticule.fieldOf("GridType")));
  ASSERT_NE(gridType, nullptr);
  ASSERT_GE(gridType->count(), 2);
  EXPECT_FALSE(gridType->isEditable());
  gridType->setCurrentIndex(1);
  emit gridType->activated(1);
  EXPECT_EQ(chart.get("GridType").toI4(), 1);

  const std::int32_t divisions = chart.get("MajorDivHorz").toI4();
  QWidget* row = graticule.inputOf(graticule.fieldOf("MajorDivHorz"))->parentWidget();
  for (QToolButton* button : row->findChildren<QToolButton*>())
    if (button->arrowType() == Qt::UpArrow) button->click();
  EXPECT_EQ(chart.get("MajorDivHorz").toI4(), divisions + 1);

  PageWidget& pen = pageTitled("Pen");
  type(pen, "Pen_Select", "7");  // a new pen
  EXPECT_EQ(chart.get("Pen_Select").toI4(), 7);
  auto* selector = qobject_cast<QComboBox*>(pen.inputOf(pen.fieldOf("Pen_Select")));
  ASSERT_NE(selector->findText("7"), -1);
  // The colour button's dialog starts at the colour shown and writes the one chosen.
  QToolButton* colourButton =
      pen.inputOf(pen.fieldOf("PenColor"))->parentWidget()->findChild<QToolButton*>();
  ASSERT_NE(colourButton, nullptr);
  type(pen, "PenColor", "&H00A0B0C0");
  QColor offered;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    offered = dialog->currentColor();
    dialog->setCurrentColor(QColor(0x56, 0x34, 0x12));
    dialog->accept();
  });
  colourButton->click();
  EXPECT_EQ(offered, QColor(0xC0, 0xB0, 0xA0));
  EXPECT_EQ(chart.get("PenColor").toI4(), 0x00123456);
  EXPECT_EQ(text(pen, "PenColor"), "&H00123456");
  type(pen, "Pen_Select", "8");  // another, with a new pen's colour
  EXPECT_NE(text(pen, "PenColor"), "&H00123456");
  const int seven = selector->findText("7");
  ASSERT_NE(seven, -1);
  selector->setCurrentIndex(seven);
  emit selector->activated(seven);
  EXPECT_EQ(chart.get("Pen_Select").toI4(), 7);
  EXPECT_EQ(text(pen, "PenColor"), "&H00123456");  // the fields show the pen chosen
  EXPECT_TRUE(messages_.empty()) << messages_.front();
  EXPECT_TRUE(window_.isModified());
}

TEST_F(Designer, RefusedValueIsReportedAndItsFieldTakesTheFocus) {
  open(copyOfForm("zelkchart.bag"));
  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  automation::Dispatch& chart = window_.chart().control();
  PageWidget& scale = pageTitled("Scale");
  const double factor = chart.get("ScaleFactor").toR8();
  QWidget* input = scale.inputOf(scale.fieldOf("ScaleFactor"));
  type(scale, "ScaleFactor", "70000");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_FALSE(messages_[0].empty());
  EXPECT_EQ(chart.get("ScaleFactor").toR8(), factor);
  EXPECT_EQ(qobject_cast<QLineEdit*>(input)->text(), "70000");  // kept to be put right
  EXPECT_TRUE(input->hasFocus());
  EXPECT_FALSE(window_.isModified());
  // Accepted, the scale is laid out again at once with its new numbers, as a designing
  // container shows it.
  window_.chart().pump();
  const std::vector<std::uint32_t> before = pixelsOf(window_.chart().screenImage());
  type(scale, "ScaleFactor", "2");
  EXPECT_EQ(chart.get("ScaleFactor").toR8(), 2.0);
  EXPECT_EQ(messages_.size(), 1u);
  window_.chart().pump();
  EXPECT_NE(pixelsOf(window_.chart().screenImage()), before);
}

TEST_F(Designer, UnsavedChangesAreSavedDiscardedOrKeptOpenAsTheUserAnswers) {
  const QString file = copyOfForm("zelkchart.bag");
  open(file);
  const std::string original = *readBagFile(file);
  QMessageBox::StandardButton answer = QMessageBox::Cancel;
  int asked = 0;
  window_.setSaveQuestion([&](const QString&) {
    ++asked;
    return answer;
  });
  EXPECT_TRUE(window_.close());  // nothing changed: no question
  EXPECT_EQ(asked, 0);
  window_.show();
  PageWidget& bezel = pageTitled("Bezel");
  type(bezel, "BorderWidth", "5");
  ASSERT_TRUE(window_.isModified());

  EXPECT_FALSE(window_.close());
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(window_.isVisible());
  EXPECT_EQ(*readBagFile(file), original);

  answer = QMessageBox::Discard;
  EXPECT_TRUE(window_.close());
  EXPECT_EQ(*readBagFile(file), original);

  window_.show();
  answer = QMessageBox::Save;
  EXPECT_TRUE(window_.close());
  EXPECT_EQ(asked, 3);
  EXPECT_NE(readBagFile(file)->find("BorderWidth = 5"), std::string::npos);
}

TEST_F(Designer, HelpShowsTheCurrentPagesHelpText) {
  open(copyOfForm("zelkspec.bag"));
  pageTitled("Window");
  QAction* help = nullptr;
  for (QAction* action : window_.findChildren<QAction*>())
    if (action->shortcut() == QKeySequence(QKeySequence::HelpContents)) help = action;
  ASSERT_NE(help, nullptr);
  help->trigger();
  auto* dialog = window_.findChild<QDialog*>("help");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Window");
  auto* browser = dialog->findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->toPlainText().contains("WndWidth"));
  // One help window: asked again it stays the one, and it follows the page shown.
  help->trigger();
  EXPECT_EQ(window_.findChildren<QDialog*>("help").size(), 1);
  const QString before = browser->toPlainText();
  pageTitled("Graticule");
  EXPECT_EQ(window_.findChildren<QDialog*>("help").size(), 1);
  EXPECT_EQ(dialog->windowTitle(), "Graticule");
  EXPECT_NE(browser->toPlainText(), before);
  EXPECT_TRUE(messages_.empty());
}

TEST(DesignerFiles, ColourTextsBagHeadingsAndHelpPages) {
  EXPECT_EQ(host::qt::textOfColor(QColor(0x00, 0xFF, 0xFF)), "&H00FFFF00");
  EXPECT_EQ(host::qt::textOfColor(QColor(1, 2, 3)), "&H00030201");
  EXPECT_EQ(host::qt::colorOfText(" &h00030201 "), QColor(1, 2, 3));
  for (const char* notColour : {"&H80000012", "", "&H", "123", "&HXYZ", "&H1234567890"})
    EXPECT_FALSE(host::qt::colorOfText(notColour).isValid()) << notColour;

  EXPECT_EQ(bagClass("[Class {F9285160-7EB9-11D0-AADB-0000C05F07C7}]\nA = 1\n"), kChart);
  for (const char* noClass : {"", "A = 1\n", "[Class {F9285160-7EB9", "[Class nonsense]"})
    EXPECT_FALSE(bagClass(noClass)) << noClass;

  for (std::int32_t context = 2001; context <= 2011; ++context)
    EXPECT_FALSE(helpPageFile(context).isEmpty()) << context;
  EXPECT_TRUE(helpPageFile(2012).isEmpty());
}

TEST(DesignerFiles, UnreadableOrUnwritableFilesLeaveTheDocumentAsItWas) {
  QTemporaryDir dir;
  DesignerWindow window;
  std::vector<std::string> messages;
  window.setMessageHandler([&](const QString& m) { messages.push_back(m.toStdString()); });
  EXPECT_FALSE(window.openFile(dir.filePath("missing.bag")));
  EXPECT_EQ(messages.size(), 1u);
  const QString file = dir.filePath("chart.bag");
  QFile::copy(QStringLiteral(ZELK_FORMS_DIR "/zelkchart.bag"), file);
  ASSERT_TRUE(window.openFile(file));
  const std::string before = *readBagFile(file);
  EXPECT_FALSE(window.saveAs(dir.filePath("no/such/folder/chart.bag")));
  EXPECT_EQ(messages.size(), 2u);
  EXPECT_EQ(window.filePath(), QFileInfo(file).absoluteFilePath());
  EXPECT_EQ(*readBagFile(file), before);
}

TEST(DesignerFiles, FilesThatAreNoSavedChartAreOpenedOnlyOnTheUsersWord) {
  QTemporaryDir dir;
  const QString chart = dir.filePath("chart.bag");
  QFile::copy(QStringLiteral(ZELK_FORMS_DIR "/zelkchart.bag"), chart);
  const std::string saved = *readBagFile(chart);
  const struct {
    const char* name;
    std::string text;
    QMessageBox::StandardButton answer;  // NoButton: not asked
    bool opened;
    const char* message;  // what the user is told, in part; empty: nothing
  } cases[] = {
      {"notes.txt", "Shopping list\nmilk\n", QMessageBox::No, false, ""},
      {"empty.bag", "", QMessageBox::No, false, ""},
      {"notes2.txt", "A = 1\n", QMessageBox::Yes, true, ""},
      {"saved.bag", saved, QMessageBox::NoButton, true, ""},
      {"huge.bag", saved + std::string(kMaxBagFileBytes, ' '), QMessageBox::NoButton, false,
       "larger than 4 MiB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DesignerWindow window;
    std::vector<std::string> messages;
    window.setMessageHandler([&](const QString& m) { messages.push_back(m.toStdString()); });
    ASSERT_TRUE(window.openFile(chart));
    const QString file = dir.filePath(c.name);
    {
      QFile out(file);
      ASSERT_TRUE(out.open(QIODevice::WriteOnly));
      out.write(c.text.data(), static_cast<qint64>(c.text.size()));
    }
    int asked = 0;
    window.setOpenQuestion([&](const QString& question) {
      ++asked;
      EXPECT_TRUE(question.contains(file));
      return c.answer;
    });
    EXPECT_EQ(window.openFile(file), c.opened);
    EXPECT_EQ(asked, c.answer == QMessageBox::NoButton ? 0 : 1);
    EXPECT_EQ(window.filePath(), QFileInfo(c.opened ? file : chart).absoluteFilePath());
    if (*c.message == 0) {
      EXPECT_TRUE(messages.empty()) << messages.front();
    } else {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_NE(messages[0].find(c.message), std::string::npos) << messages[0];
    }
    QFile in(file);  // opened or not, the file is as it was
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_TRUE(in.readAll().toStdString() == c.text);
  }
  // A FIFO is refused without waiting for a writer.
  const QString fifo = dir.filePath("pipe.bag");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  QString reason;
  EXPECT_FALSE(readBagFile(fifo, &reason));
  EXPECT_TRUE(reason.contains("not a regular file")) << reason.toStdString();
}

// On a small screen (here one scaled by 2, in a program of its own whose Qt takes the factor when
// it starts) the window opens no larger than the screen.
TEST(DesignerWindowSize, OpensNoLargerThanTheScreen) {
  if (std::getenv("ZELK_TEST_WINDOW_SIZE") != nullptr) {
    DesignerWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QSize room = window.screen()->availableGeometry().size();
    std::printf("window=%dx%d screen=%dx%d\n", window.frameGeometry().width(),
                window.frameGeometry().height(), room.width(), room.height());
    return;
  }
  for (const char* scale : {"1", "2"}) {
    SCOPED_TRACE(scale);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZELK_TEST_WINDOW_SIZE", "1");
    env.insert("QT_SCALE_FACTOR", scale);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=DesignerWindowSize.OpensNoLargerThanTheScreen"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const std::string out = child.readAllStandardOutput().toStdString();
    ASSERT_EQ(child.exitCode(), 0) << out;
    int width = 0, height = 0, roomWidth = 0, roomHeight = 0;
    const std::size_t at = out.find("window=");
    ASSERT_NE(at, std::string::npos) << out;
    ASSERT_EQ(std::sscanf(out.c_str() + at, "window=%dx%d screen=%dx%d", &width, &height,
                          &roomWidth, &roomHeight),
              4);
    EXPECT_LE(width, roomWidth);
    EXPECT_LE(height, roomHeight);
    EXPECT_GT(width, roomWidth / 2);  // yet not shrunk for nothing
  }
}

}  // namespace
}  // namespace designer
