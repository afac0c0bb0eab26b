#include "ui/status_bar_parts.h"

#include <algorithm>

#include "window/status_bar_rule.h"
#include "window/window_appearance.h"

namespace ligamor {

namespace {

// Room beside each text, so that it does not touch its neighbour or the
// bar's ends.
constexpr int kTextPadding = 8;
constexpr int kBarInset = 2;

// The label's text as wide as its part allows.
void Fit(QLabel& label, const QString& text, const StatusBarShare& share, int padding)
{
    label.setText(share.elided ? label.fontMetrics().elidedText(text, Qt::ElideRight, share.width - padding) : text);
}

}  // namespace

StatusBarParts::StatusBarParts(QWidget* parent)
    : QWidget(parent), banner(new QLabel(this)), health(new QLabel(this)), progress(new QProgressBar(this))
{
    banner->setAlignment(Qt::AlignCenter);
    health->setObjectName(QStringLiteral("lblEstado"));
    health->setAlignment(Qt::AlignCenter);
    health->setContentsMargins(kTextPadding / 2, 0, kTextPadding / 2, 0);
    progress->setObjectName(QStringLiteral("prbCiclo"));
    progress->setAlignment(Qt::AlignCenter);
    progress->hide();
}

void StatusBarParts::ShowBanner(const QString& text, bool saysWho)
{
    // Who integrates from the left: cut short, its start still says who.
    banner->setAlignment(saysWho ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    bannerSaysWho_ = saysWho;
    bannerText_ = text;
    banner->setText(text);
    banner->setToolTip(text);
    LayOut();
}

void StatusBarParts::ShowHealth(const QString& line, const QString& styleSheet)
{
    // Styled first: a bold font is wider.
    health->setStyleSheet(styleSheet);
    health->ensurePolished();
    healthText_ = line;
    health->setText(line);
    health->setToolTip(line);
    health->setAccessibleDescription(line);
    LayOut();
}

void StatusBarParts::ShowProgress(const QString& text, const QString& widest, int value, int maximum)
{
    progress->setRange(0, maximum);
    progress->setValue(value);
    // The text is the format: a file name holds no "%".
    progress->setFormat(text);
    const int need = progress->fontMetrics().horizontalAdvance(widest) + kTextPadding + 2 * kBarInset;
    if (progress->isHidden() || need != progressNeed_) {
        progressNeed_ = need;
        progress->show();
        LayOut();
    }
}

void StatusBarParts::HideProgress()
{
    progress->hide();
    progress->reset();
    LayOut();
}

void StatusBarParts::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void StatusBarParts::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    LayOut();
}

void StatusBarParts::LayOut()
{
    // Until the status bar gives it its width, every text stays whole.
    if (!isVisible()) return;
    // The label's margins, and a little more that QLabel keeps for itself.
    const int healthPadding = health->contentsMargins().left() + health->contentsMargins().right() + 4;
    StatusBarNeeds needs;
    needs.width = width();
    needs.banner = banner->fontMetrics().horizontalAdvance(bannerText_) + kTextPadding;
    needs.health = healthText_.isEmpty() ? 0 : health->fontMetrics().horizontalAdvance(healthText_) + healthPadding;
    needs.progress = progress->isHidden() ? 0 : progressNeed_;
    needs.bannerSaysWho = bannerSaysWho_;
    const StatusBarShares shares = ShareStatusBar(needs);

    Fit(*banner, bannerText_, shares.banner, kTextPadding);
    banner->setGeometry(shares.banner.left, 0, shares.banner.width, height());
    banner->setVisible(shares.banner.width > 0);
    Fit(*health, healthText_, shares.health, healthPadding);
    health->setGeometry(shares.health.left, 0, shares.health.width, height());
    health->setVisible(shares.health.width > 0);
    // Clear of the health and of the window's edge.
    const int barHeight = std::min(kCycleBarHeight, height());
    const int inset = std::min(kBarInset, shares.progress.width / 4);
    progress->setGeometry(shares.progress.left + inset, (height() - barHeight) / 2,
                          shares.progress.width - 2 * inset, barHeight);
}

}  // namespace ligamor
