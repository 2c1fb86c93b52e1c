#include "ui/list/HeaderStyle.h"

#include <QHeaderView>
#include <QProxyStyle>

namespace dolvane {
namespace {

class NarrowHeaderStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        return metric == PM_HeaderMargin ? 1 : QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

void UseNarrowHeaderMargins(QHeaderView* header)
{
    // The header does not own a style it is given; the style lives as long as the header.
    auto* style = new NarrowHeaderStyle;
    style->setParent(header);
    header->setStyle(style);
}

}  // namespace dolvane
