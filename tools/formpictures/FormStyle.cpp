#include "FormStyle.h"

#include <iterator>

namespace {

struct CompanyLook {
    const char* company;
    const char* title;
    const char* subtitle;
    QRgb ink;
};

// One row per company; the variants of a company share its look.
constexpr CompanyLook looks[] = {
    {"EMS", "中国邮政 EMS", "国内特快专递邮件详情单", 0x0a6b47},
    {"申通", "申通快递 STO", "快递详情单", 0xc0392b},
    {"天天", "天天快递", "快件详情单", 0xd35400},
    {"韵达", "韵达快递", "快递详情单", 0x8e6b0b},
    {"国通", "国通快递", "快件详情单", 0x1f5fa8},
    {"汇通", "汇通快运", "快递详情单", 0x117a65},
    {"CCES", "CCES 快递", "国内快递详情单", 0x6c3483},
    {"速尔", "速尔快递", "快件运单", 0x1b4f72},
    {"顺丰", "顺丰速运 SF", "速运运单", 0x222222},
    {"中通", "中通快递 ZTO", "快递详情单", 0x1a5276},
    {"圆通", "圆通速递 YTO", "快递详情单", 0x5b2c6f},
    {"宅急送", "宅急送 ZJS", "快递运单", 0xb03a2e},
    {"德邦", "德邦物流", "快递托运单", 0x154360},
    {"全一", "全一快递", "快件详情单", 0x196f3d},
    {"能达", "能达速递", "快件详情单", 0x7e5109},
    {"信丰", "信丰物流", "托运单", 0x943126},
    {"联昊通", "联昊通速递", "快件运单", 0x0e6655},
    {"增益", "增益速递", "快件详情单", 0x4a235a},
    {"安捷", "安捷快递", "快件详情单", 0x1f618d},
    {"快捷", "快捷快递", "快递详情单", 0xa04000},
    {"龙邦", "龙邦物流", "快件运单", 0x0b5345},
    {"全峰", "全峰快递", "快递详情单", 0x922b21},
    {"优速", "优速快递 UC", "快递详情单", 0x1c2833},
};

QColor paperFor(const QColor& ink)
{
    // A faint tint of the ink, as on multi-part carbonless forms.
    return QColor::fromRgbF(0.955 + 0.045 * ink.redF(), 0.955 + 0.045 * ink.greenF(), 0.955 + 0.045 * ink.blueF());
}

}

FormStyle formStyleFor(const QString& company, const QString& variant)
{
    for (const CompanyLook& look : looks) {
        if (company != QString::fromUtf8(look.company))
            continue;
        const QColor ink = QColor::fromRgb(look.ink);
        QString subtitle = QString::fromUtf8(look.subtitle);
        if (!variant.isEmpty())
            subtitle += QStringLiteral("（%1）").arg(variant);
        return {ink, paperFor(ink), QString::fromUtf8(look.title), subtitle,
                QStringLiteral("本单一式多联，请用力书写 · 寄件人须如实申报内件 · 查询请致电客服")};
    }
    return {Qt::black, Qt::white, company, QStringLiteral("快递详情单"), QString()};
}

QStringList fieldLabels(corvane::SlotRole role, const QString& column, bool largeType)
{
    const bool sender = role == corvane::SlotRole::Sender;
    struct Label {
        const char* column;
        const char* sender;
        const char* recipient;
        const char* shortLabel;
    };
    static constexpr Label labels[] = {
        {"姓名", "寄件人姓名", "收件人姓名", "姓名"},
        {"城市", "始发地", "目的地", ""},
        {"邮编", "邮政编码", "邮政编码", "邮编"},
        {"寄件单位", "单位名称", "单位名称", "单位"},
        {"收件单位", "单位名称", "单位名称", "单位"},
        {"地址", "详细地址", "详细地址", "地址"},
        {"手机", "手机", "手机", ""},
        {"电话", "联系电话", "联系电话", "电话"},
        {"签名", "寄件人签名", "收件人签名", "签名"},
        {"内件品名", "内件品名", "内件品名", "品名"},
        {"数量", "数量", "数量", "件数"},
        {"备注", "备注", "备注", ""},
    };
    if (largeType)
        return {QStringLiteral("目的地")};
    for (const Label& label : labels) {
        if (column != QString::fromUtf8(label.column))
            continue;
        QStringList texts{QString::fromUtf8(sender ? label.sender : label.recipient)};
        if (*label.shortLabel)
            texts << QString::fromUtf8(label.shortLabel);
        return texts;
    }
    return {column};
}
