#include "plot_test_helpers.h"

namespace nikra::test {

PassRun runPass(SlotSet &slots, const DeviceProfile &profile, const HeaderSettings &header, ReadWindow window)
{
    ViewState view;
    PassRun run;
    run.surface = std::make_unique<RecordingSurface>(profile);
    RecordingMessenger messenger;
    PlotPass pass(*run.surface, slots, view, messenger);
    pass.setReadWindow(window);
    pass.run(header);
    run.messages = messenger.lines;
    run.state = pass.state();
    return run;
}

PassRun drawSlot(const FormatFile &f, const QByteArray &graph, const QByteArray &comment, const DeviceProfile &profile,
                 const HeaderSettings &header, ReadWindow window)
{
    TestDir dir;
    SlotSet slots;
    slots[1].format = dir.write(QStringLiteral("f.dat"), f);
    if (!graph.isNull())
        slots[1].graph = dir.write(QStringLiteral("g.dat"), graph);
    if (!comment.isNull())
        slots[1].comment = dir.write(QStringLiteral("c.txt"), comment);
    return runPass(slots, profile, header, window);
}

std::vector<PageRect> frames(const RecordingSurface &s)
{
    std::vector<PageRect> out;
    for (const Primitive &p : s.of(PrimitiveKind::Rectangle))
        out.push_back({p.mm[0].x, p.mm[0].y, p.mm[1].x - p.mm[0].x, p.mm[1].y - p.mm[0].y});
    return out;
}

QString formatMessage(int slot, Msg id, const QStringList &args)
{
    return slotMessage(FileKind::FormatData, slot, id, args);
}

} // namespace nikra::test
