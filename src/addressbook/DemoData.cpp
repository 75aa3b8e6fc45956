#include "addressbook/DemoData.h"
#include "addressbook/Connection.h"
#include "addressbook/List.h"

namespace corvane {

namespace {

struct DemoRow {
    const char* values[10];
};

// 姓名, 城市, 单位, 邮编, 地址, 手机, 电话, 签名 / 内件品名, 备注 / 数量, (备注)
const DemoRow senders[] = {
    {{"王立新", "杭州", "杭州青禾茶叶有限公司", "310012", "浙江省杭州市西湖区文三路478号华星时代广场B座1203室",
      "13858123467", "0571-88217634", "王立新", "易碎品，轻放", nullptr}},
    {{"陈美玲", "广州", "广州木棉服饰商行", "510080", "广东省广州市越秀区中山二路18号电子大厦5楼",
      "13922456781", "020-83791256", "陈美玲", "", nullptr}},
    {{"刘建国", "成都", "", "610041", "四川省成都市武侯区人民南路四段11号", "18980012345", "", "刘", "周末不发货", nullptr}},
};

const DemoRow recipients[] = {
    {{"张伟", "北京", "北京中关村科技发展有限公司", "100080", "北京市海淀区中关村大街27号中关村大厦1106室",
      "13910345678", "010-62551234", "茶叶礼盒", "2", "请工作日送达"}},
    {{"李娜", "上海", "上海浦江贸易有限公司", "200120", "上海市浦东新区世纪大道88号金茂大厦28楼",
      "13761234590", "021-50471234", "服装", "1", ""}},
    {{"赵磊", "深圳", "", "518057", "广东省深圳市南山区科技园南区高新南七道R2-B栋3楼",
      "13823456712", "", "样品", "3", "到付"}},
    {{"孙晓燕", "南京", "南京秦淮文具店", "210001", "江苏省南京市秦淮区中华路188号",
      "15951876234", "025-84567123", "文具", "5", ""}},
    {{"周强", "武汉", "武汉江城机电设备有限公司", "430070", "湖北省武汉市洪山区珞喻路1037号",
      "13707151234", "027-87541236", "配件", "1", "电话联系后送货"}},
    {{"吴静", "西安", "", "710061", "陕西省西安市雁塔区小寨东路126号百隆广场",
      "18629012345", "", "书籍", "4", ""}},
};

void insertRows(Connection& connection, const char* table, const QStringList& columns,
                const DemoRow* rows, int count)
{
    List list(&connection);
    list.setSQL(QStringLiteral("select * from %1").arg(QLatin1String(table)));
    list.Open();
    for (int r = 0; r < count; ++r) {
        list.Append();
        for (int c = 0; c < 10 && c < columns.size(); ++c)
            if (rows[r].values[c])
                list.FieldByName(columns[c]).setAsString(QString::fromUtf8(rows[r].values[c]));
        list.Post();
    }
}

}

void addDemoRows(Connection& connection)
{
    // Senders: the first nine columns; the date columns stay empty (date hidden).
    insertRows(connection, "outr", Connection::senderColumns().mid(0, 9), senders, int(std::size(senders)));
    insertRows(connection, "inr", Connection::recipientColumns(), recipients, int(std::size(recipients)));
    // The first sender prints a date, so the program shows and refreshes it at start-up.
    connection.ExecSQL(QStringLiteral("UPDATE outr SET 年 = '2026', 月 = '01', 日 = '05' WHERE rowid = "
                                      "(SELECT min(rowid) FROM outr)"));
}

}
