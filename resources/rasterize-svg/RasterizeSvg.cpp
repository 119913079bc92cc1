// stomplet-rasterize-svg: renders one SVG artwork file to PNG at scale 1 and scale 2.
//
//   stomplet-rasterize-svg --size WxH [--font FILE]... INPUT.svg OUTPUT.png OUTPUT@2x.png
//   stomplet-rasterize-svg --size WxH --pixels PxQ [--font FILE]... INPUT.svg OUTPUT.png
//
// The second form renders one PNG of PxQ pixels, for sizes that are not a whole scale of the
// design (the desktop icon's 22 and 24 pixels from a 16-pixel drawing, for instance).
// The SVG's own size must be W x H design pixels, so an artwork file of the wrong size fails the
// build instead of being stretched. Every --font file is registered before rendering, so text in
// the artwork is set in exactly the faces the build provides, never in whatever the machine
// substitutes. Any warning of Qt's SVG module (a reference it cannot resolve, a node it cannot
// parse) is an error. Features outside SVG Tiny that the module skips without a word (filters,
// clip paths, masks, letter-spacing) must not be used by the artwork. Runs without a display.
// Exit status 0 on success, 1 after one line on stderr.

#include <QByteArray>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>
#include <cstdio>
#include <optional>

namespace
{
struct Arguments
{
    QSize size;
    QSize pixels; // valid: one output of this size instead of scale 1 and 2
    QStringList fonts;
    QString input;
    QString output1x;
    QString output2x;
};

QStringList gRendererWarnings;

// Collects the SVG module's warnings; the platform's own notes (a missing runtime folder and the
// like) say nothing about the artwork and are dropped, errors still reach stderr.
void CollectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool fromSvgModule =
        context.category != nullptr && QByteArray(context.category).startsWith("qt.svg");
    if (fromSvgModule && type != QtDebugMsg && type != QtInfoMsg)
        gRendererWarnings.append(message);
    else if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int Fail(const QString& line)
{
    std::fprintf(stderr, "stomplet-rasterize-svg: %s\n", qPrintable(line));
    return 1;
}

std::optional<QSize> ParseSize(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2)
        return std::nullopt;
    bool widthOk = false;
    bool heightOk = false;
    const int width = parts[0].toInt(&widthOk);
    const int height = parts[1].toInt(&heightOk);
    if (!widthOk || !heightOk || width <= 0 || height <= 0 || width > 8192 || height > 8192)
        return std::nullopt;
    return QSize(width, height);
}

// nullopt and a message in `error` when the command line is malformed.
std::optional<Arguments> ParseArguments(const QStringList& args, QString& error)
{
    Arguments parsed;
    QStringList positional;
    for (qsizetype i = 1; i < args.size(); ++i)
    {
        const QString& arg = args[i];
        if (arg == QStringLiteral("--size") || arg == QStringLiteral("--pixels") ||
            arg == QStringLiteral("--font"))
        {
            if (i + 1 >= args.size())
            {
                error = arg + QStringLiteral(" needs a value");
                return std::nullopt;
            }
            const QString value = args[++i];
            if (arg == QStringLiteral("--font"))
            {
                parsed.fonts.append(value);
                continue;
            }
            const std::optional<QSize> size = ParseSize(value);
            if (!size)
            {
                error =
                    QStringLiteral("%1 takes WIDTHxHEIGHT in pixels, not \"%2\"").arg(arg, value);
                return std::nullopt;
            }
            (arg == QStringLiteral("--size") ? parsed.size : parsed.pixels) = *size;
        }
        else if (arg.startsWith(QStringLiteral("--")))
        {
            error = QStringLiteral("unknown option \"%1\"").arg(arg);
            return std::nullopt;
        }
        else
            positional.append(arg);
    }
    const qsizetype outputs = parsed.pixels.isValid() ? 1 : 2;
    if (!parsed.size.isValid() || positional.size() != 1 + outputs)
    {
        error = QStringLiteral("usage: stomplet-rasterize-svg --size WxH [--font FILE]... "
                               "INPUT.svg OUTPUT.png OUTPUT@2x.png, or with --pixels PxQ "
                               "INPUT.svg OUTPUT.png");
        return std::nullopt;
    }
    parsed.input = positional[0];
    parsed.output1x = positional[1];
    if (outputs == 2)
        parsed.output2x = positional[2];
    return parsed;
}

// Writes beside the target first, so an interrupted build never leaves a truncated PNG behind.
bool SavePng(const QImage& image, const QString& path)
{
    const QString partial = path + QStringLiteral(".part");
    if (!image.save(partial, "PNG"))
        return false;
    QFile::remove(path);
    return QFile::rename(partial, path);
}

QImage Render(QSvgRenderer& renderer, QSize pixels)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}
} // namespace

int main(int argc, char* argv[])
{
    // A build step never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(CollectWarnings);
    QGuiApplication app(argc, argv);

    QString error;
    const std::optional<Arguments> args = ParseArguments(QGuiApplication::arguments(), error);
    if (!args)
        return Fail(error);

    for (const QString& font : args->fonts)
    {
        if (QFontDatabase::addApplicationFont(font) < 0)
            return Fail(QStringLiteral("cannot load the font file %1").arg(font));
    }

    QSvgRenderer renderer(args->input);
    if (!renderer.isValid())
        return Fail(QStringLiteral("%1 is not a readable SVG file").arg(args->input));
    if (renderer.defaultSize() != args->size)
    {
        return Fail(QStringLiteral("%1 is %2 x %3, expected %4 x %5")
                        .arg(args->input)
                        .arg(renderer.defaultSize().width())
                        .arg(renderer.defaultSize().height())
                        .arg(args->size.width())
                        .arg(args->size.height()));
    }

    const bool one = args->pixels.isValid();
    const QImage image1x = Render(renderer, one ? args->pixels : args->size);
    const QImage image2x = one ? QImage() : Render(renderer, args->size * 2);
    if (!gRendererWarnings.isEmpty())
    {
        return Fail(QStringLiteral("%1: %2").arg(args->input,
                                                 gRendererWarnings.join(QStringLiteral("; "))));
    }

    if (!SavePng(image1x, args->output1x))
        return Fail(QStringLiteral("cannot write %1").arg(args->output1x));
    if (!one && !SavePng(image2x, args->output2x))
        return Fail(QStringLiteral("cannot write %1").arg(args->output2x));
    return 0;
}
