// stomplet-render-manual: renders the user guide from Markdown to a PDF document.
//
//   stomplet-render-manual --title TEXT [--font FILE]... INPUT.md OUTPUT.pdf
//
// The Markdown (GitHub dialect) is laid out by QTextDocument on A4 pages with page numbers and
// written by QPdfWriter. Every --font file is registered first and the family of the first one
// sets the text, so the guide looks the same whatever fonts the build machine has; headings are
// set in that family too. The PDF is written beside the target and renamed over it, so an
// interrupted build never leaves a cut-off document behind. Runs without a display. Exit status 0
// on success, 1 after one line on stderr.

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cstdio>
#include <memory>
#include <optional>

namespace
{
struct Arguments
{
    QString title;
    QStringList fonts;
    QString input;
    QString output;
};

constexpr qreal kBodyPointSize = 10.5;
constexpr qreal kPageMarginMm = 4.0; // the layout adds 2 cm of its own on every side
constexpr int kResolutionDpi = 300;

int Fail(const QString& line)
{
    std::fprintf(stderr, "stomplet-render-manual: %s\n", qPrintable(line));
    return 1;
}

// nullopt and a message in `error` when the command line is malformed.
std::optional<Arguments> ParseArguments(const QStringList& args, QString& error)
{
    Arguments parsed;
    QStringList positional;
    for (qsizetype i = 1; i < args.size(); ++i)
    {
        const QString& arg = args[i];
        if (arg == QStringLiteral("--title") || arg == QStringLiteral("--font"))
        {
            if (i + 1 >= args.size())
            {
                error = arg + QStringLiteral(" needs a value");
                return std::nullopt;
            }
            if (arg == QStringLiteral("--font"))
                parsed.fonts.append(args[++i]);
            else
                parsed.title = args[++i];
        }
        else if (arg.startsWith(QStringLiteral("--")))
        {
            error = QStringLiteral("unknown option \"%1\"").arg(arg);
            return std::nullopt;
        }
        else
            positional.append(arg);
    }
    if (parsed.title.isEmpty() || positional.size() != 2)
    {
        error = QStringLiteral(
            "usage: stomplet-render-manual --title TEXT [--font FILE]... INPUT.md OUTPUT.pdf");
        return std::nullopt;
    }
    parsed.input = positional[0];
    parsed.output = positional[1];
    return parsed;
}

// Headings in the body family, bold, sized by level; the body keeps the default size.
void StyleHeadings(QTextDocument& document, const QString& family)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    {
        const int level = block.blockFormat().headingLevel();
        if (level <= 0)
            continue;
        QTextCharFormat format;
        format.setFontFamilies({family});
        format.setFontWeight(QFont::Bold);
        format.setFontPointSize(level == 1 ? 20.0 : level == 2 ? 15.0 : 12.0);
        QTextCursor cursor(block);
        cursor.select(QTextCursor::BlockUnderCursor);
        cursor.mergeCharFormat(format);

        QTextBlockFormat spacing = block.blockFormat();
        spacing.setTopMargin(level == 1 ? 0.0 : 14.0);
        spacing.setBottomMargin(6.0);
        cursor.setBlockFormat(spacing);
    }
}
// Tables with a single thin rule between cells and some air inside them.
void StyleTables(QTextDocument& document)
{
    for (QTextFrame* frame : document.rootFrame()->childFrames())
    {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setBorderCollapse(true);
        format.setBorder(0.5);
        format.setCellSpacing(0.0);
        format.setCellPadding(4.0);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100.0));
        table->setFormat(format);
    }
}
} // namespace

int main(int argc, char* argv[])
{
    // A build step never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString error;
    const std::optional<Arguments> args = ParseArguments(QGuiApplication::arguments(), error);
    if (!args)
        return Fail(error);

    QString family;
    for (const QString& font : args->fonts)
    {
        const int id = QFontDatabase::addApplicationFont(font);
        if (id < 0)
            return Fail(QStringLiteral("cannot load the font file %1").arg(font));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (family.isEmpty() && !families.isEmpty())
            family = families.first();
    }

    QFile input(args->input);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text))
        return Fail(QStringLiteral("cannot read %1").arg(args->input));
    const QString markdown = QString::fromUtf8(input.readAll());
    if (markdown.trimmed().isEmpty())
        return Fail(QStringLiteral("%1 is empty").arg(args->input));

    QTextDocument document;
    QFont body = family.isEmpty() ? QFont() : QFont(family);
    body.setPointSizeF(kBodyPointSize);
    document.setDefaultFont(body);
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    if (!family.isEmpty())
        StyleHeadings(document, family);
    StyleTables(document);
    document.setMetaInformation(QTextDocument::DocumentTitle, args->title);

    const QString partial = args->output + QStringLiteral(".part");
    {
        QPdfWriter writer(partial);
        writer.setResolution(kResolutionDpi);
        writer.setTitle(args->title);
        writer.setCreator(QStringLiteral("ctrlWaveStomplet"));
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                        QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                        QPageLayout::Millimeter));
        document.print(&writer);
    }

    QFile written(partial);
    if (!written.exists() || written.size() == 0)
        return Fail(QStringLiteral("cannot write %1").arg(args->output));
    QFile::remove(args->output);
    if (!QFile::rename(partial, args->output))
        return Fail(QStringLiteral("cannot write %1").arg(args->output));
    return 0;
}
