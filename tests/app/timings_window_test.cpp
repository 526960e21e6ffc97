// The timings window: a file reduced into the table with the command line's
// columns, a bad file named line by line with nothing in the table, and the
// export written whole.
#include "app/timings_window.h"

#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>

#include "app_fixture.h"

namespace vernier {
namespace {

std::string TestData(const std::string& relative) {
  return std::string(VERNIER_TEST_DATA_DIR) + "/" + relative;
}

class TimingsWindowTest : public testing::AppTest {
 protected:
  TimingsWindowTest() : window(DataDirectory{TestData("predictions")}) {}
  QString Write(const char* name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
  }
  QTemporaryDir dir;
  TimingsWindow window;
};

TEST_F(TimingsWindowTest, ReducesAFileAndExportsIt) {
  const QString path = Write("timings.csv",
                             "date,utc,kind,star,lon,lat,height\n"
                             "2003-05-10,05:22:39.07,D,HIP 49583,-101.855,33.578,990\n"
                             "2003-05-10,06:05:59.44,R,HIP 49583,-101.855,33.578,990\n");
  ASSERT_TRUE(window.Load(path)) << window.Status()->text().toStdString();
  QTableWidget* table = window.Table();
  ASSERT_EQ(table->rowCount(), 2);
  int oc = -1;
  for (int c = 0; c < table->columnCount(); ++c)
    if (table->horizontalHeaderItem(c)->text() == "o_c_arcsec") oc = c;
  ASSERT_GE(oc, 0);
  EXPECT_NEAR(table->item(0, oc)->text().toDouble(), -0.317, 0.002);
  EXPECT_NEAR(table->item(1, oc)->text().toDouble(), 0.0, 0.005);

  QString problem;
  const QString out = dir.filePath("reduced.csv");
  ASSERT_TRUE(window.ExportCsv(out, problem)) << problem.toStdString();
  QFile file(out);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[0].startsWith("line,date,utc,kind,star,"));
  EXPECT_FALSE(window.ExportCsv(dir.filePath("missing/reduced.csv"), problem));
}

TEST_F(TimingsWindowTest, BadLinesAreListedAndNothingIsShown) {
  const QString path = Write("bad.csv",
                             "date,utc,kind,star,lon,lat,height\n"
                             "2003-05-10,05:22:39.07,D,HIP 49583,-101.855,33.578,990\n"
                             "2003-05-10,05:22:39.07,X,HIP 49583,-101.855,33.578,990\n");
  EXPECT_FALSE(window.Load(path));
  EXPECT_EQ(window.Table()->rowCount(), 0);
  EXPECT_TRUE(window.Reduced().empty());
  EXPECT_TRUE(window.Status()->text().contains("line 3:")) << window.Status()->text().toStdString();
}

}  // namespace
}  // namespace vernier
