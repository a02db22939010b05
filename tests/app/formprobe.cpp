#include "formprobe.h"

#include "app/vistado4.h"

#include <QTableWidget>

namespace vistado::test {

std::vector<std::string> jobList(const TForm1& form)
{
    std::vector<std::string> jobs;
    for (int i = 0; i < form.jobCount(); ++i)
        jobs.push_back(form.jobEntry(i));
    return jobs;
}

std::string gridText(const TForm1& form, int row, int column)
{
    const QTableWidgetItem* item = form.sgdisplay->item(row, column);
    return item ? item->text().toLocal8Bit().toStdString() : std::string();
}

}  // namespace vistado::test
