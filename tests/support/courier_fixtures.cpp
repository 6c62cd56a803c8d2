#include "courier_fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "config/config.h"

namespace zelvo::testing {
namespace {

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// UTF-8 pages are written as u8 literals so they stay UTF-8 whatever the
// execution character set.
Bytes bytesOf(std::u8string_view text) { return Bytes(text.begin(), text.end()); }

constexpr std::string_view kNumber = "368609071201";

std::string aaeImage() { return std::string(config::kAaeRowImageAddress); }

std::vector<CourierFixture> buildFixtures() {
    std::vector<CourierFixture> f;

    // The header's ">201" lies outside the tracking table, which the first
    // cut narrows the page to.
    f.push_back({"中通快递",
                 std::string(kNumber),
                 bytesOf("<html><head><title>2010中通快递查询</title></head><body>\r\n"
                         "<table><tr><th>跟踪记录</th></tr>\r\n"
                         "<tr><td>2010-05-12 10:30:00</td><td><font color=#FF0000>深圳</font> "
                         "已收件</td></tr>\r\n"
                         "<tr><td>2010-05-13 08:15:00</td><td><font color=#FF0000>广州</font> "
                         "已发出</td></tr>\r\n"
                         "<tr><td>2010-05-14 16:45:00</td><td><font color=#FF0000>上海</font> "
                         "签收人: 张三</td></tr>\r\n"
                         "</table><p>2010-2011</p></body></html>"),
                 bytesOf("<html><body><table><tr><th>跟踪记录</th></tr></table>"
                         "<p>对不起，没有查到此单号的信息</p></body></html>"),
                 {true, "2010-05-12 10:30:00", "深圳", "2010-05-14 16:45:00", "上海"}});

    f.push_back(
        {"源伟快递",
         std::string(kNumber),
         bytesOf("<html><body><table><tr><td>收件时间:</td><td><div>2010-05-12 "
                 "10:30</div></td></tr></table>\r\n"
                 "<table>\r\n"
                 "<tr><td>\r\n2010-05-12 10:30 </td><td><span onMouseOver=\"toolTip('深圳分部')\" "
                 "onMouseOut=\"toolTip()\">深圳</span></td><td>已收件</td></tr>\r\n"
                 "<tr><td>\r\n2010-05-14 16:45 </td><td>快件到达 <span "
                 "onMouseOver=\"toolTip('上海分部')\" "
                 "onMouseOut=\"toolTip()\">上海</span>站</td>"
                 "<td><span onMouseOut=\"toolTip()\">张三</span></td></tr>\r\n"
                 "</table></body></html>"),
         bytesOf("<html><body><p>没有找到相关记录</p></body></html>"),
         {true, "2010-05-12 10:30", "深圳", "2010-05-14", "上海"}});

    f.push_back(
        {"DDS快递",
         std::string(kNumber),
         bytesOf(
             "<table>\r\n"
             "<tr><td class=\"STYLE8\">2010-05-12 10:30</td><td><span class=\"STYLE8\">【</span>"
             "<font color=\"#ff0000\">深圳</font><span "
             "class=\"STYLE8\">】</span>,<span>收件</span></td></tr>\r\n"
             "<tr><td class=\"STYLE8\">2010-05-14 16:45</td><td><span class=\"STYLE8\">【</span>"
             "<font color=\"#ff0000\">上海</font><span class=\"STYLE8\">】</span>,"
             "<span class=\"STYLE9\">签收</span>,<span>张三</span></td></tr>\r\n"
             "</table>"),
         bytesOf("<table><tr><td>暂无此单号的跟踪信息</td></tr></table>"),
         {true, "2010-05-12", "深圳", "2010-05-14", "上海"}});

    f.push_back(
        {"申通快递",
         std::string(kNumber),
         bytesOf("<table>\r\n"
                 "<tr><td>\r\n                2010-05-12 10:30\r\n</td><td><a href=\"site?id=1\" "
                 "target=\"new\">深圳</a> 已收件</td></tr>\r\n"
                 "<tr><td>\r\n                2010-05-13 08:15\r\n</td><td><a href=\"site?id=2\" "
                 "target=\"new\">上海</a> <span "
                 "class=\"red\">签收</span>,<span>张三</span></td></tr>\r\n"
                 "<tr><td>签收时间</td><td>2010-05-14 16:45 </td></tr>\r\n"
                 "</table>"),
         bytesOf("<table><tr><td>没有此单号的记录</td></tr></table>"),
         {true, "2010-05-12", "深圳", "2010-05-14", "上海"}});

    f.push_back({"韵达快递",
                 std::string(kNumber),
                 bytesOf("<table><tr><td align=\"center\" bgcolor=\"#fdd100\">始发网点</td>"
                         "<td><a href=\"javascript:site(1)\">深圳(宝安)</a></td></tr></table>\r\n"
                         "<table><tr><td>揽件时间</td><td>签收时间</td></tr>\r\n"
                         "<tr><td>2010-05-12 10:30 </td><td>2010-05-14 16:45 </td></tr>\r\n"
                         "<tr><td>签收网点:<div class=\"STYLE5 "
                         "ttr\">上海</div></td><td>揽件</td></tr></table>"),
                 bytesOf("<table><tr><td>没有找到该单号的信息</td></tr></table>"),
                 {true, "2010-05-12", "深圳", "2010-05-14", "上海"}});

    f.push_back({"全一快递",
                 std::string(kNumber),
                 bytesOf("<table><tr><td>时间</td><td>地点</td><td>工作描述</td></tr>\r\n"
                         "<tr><td style=\"height: 15px\">\r\n2010-05-12 10:30\r\n</td>"
                         "<td align=\"center\" style=\"height: 15px\">\r\n  "
                         "深圳\r\n</td><td>已收件</td></tr>\r\n"
                         "<tr><td style=\"height: 15px\">\r\n2010-05-14 16:45\r\n</td>"
                         "<td align=\"center\" style=\"height: 15px\">\r\n  "
                         "上海\r\n货件到达</td><td>派件中</td></tr>\r\n"
                         "</table>"),
                 bytesOf("<html><body>查无此单</body></html>"),
                 {true, "2010-05-12 10:30", "深圳", "2010-05-14 16:45", "上海"}});

    f.push_back(
        {"顺风快递",
         std::string(kNumber),
         bytesOf("<p>2010 顺风</p><h3>监控记录</h3><table>\r\n"
                 "<tr><td>2010-05-12&nbsp;10:30</td><td>快件在<font "
                 "color='#FF6600'>深圳</font>已收件</td></tr>\r\n"
                 "<tr><td>2010-05-12&nbsp;20:00</td><td>快件离开<font color='#FF6600'>深圳</font>,"
                 "正发往<font color='#FF6600'>广州</font></td></tr>\r\n"
                 "<tr><td>2010-05-13&nbsp;09:00</td><td>快件离开<font color='#FF6600'>广州</font>,"
                 "正发往<font color='#FF6600'>上海</font></td></tr>\r\n"
                 "<tr><td> 2010-05-14 16:45</td><td>快件在<font color='#FF6600'>上海</font>已签收,"
                 "签收人是:张三</td></tr></table>"),
         bytesOf("<h3>监控记录</h3><p>没有找到此单号</p>"),
         {true, "2010-05-12", "深圳", "2010-05-14", "广州"}});

    f.push_back({"天天快递",
                 std::string(kNumber),
                 bytesOf("<table>\r\n"
                         "<tr><td>2010-05-12 10:30</td><td><a href=\"site.asp\" "
                         "title=\"查看网点资料\">深圳</a></td>"
                         "<td>已收件</td></tr>\r\n"
                         "<tr><td>2010-05-14 16:45</td><td><a href=\"site.asp\" "
                         "title=\"查看网点资料\">上海</a></td>"
                         "<td>已签收,签收人是:张三</td></tr>\r\n"
                         "</table>"),
                 bytesOf("<table><tr><td>单号不存在</td></tr></table>"),
                 {true, "2010-05-12", "深圳", "2010-05-14", "上海"}});

    // The receipt time is cut from the same date marker as the departure
    // time and carries its four-digit year.
    f.push_back({"汇通快递",
                 std::string(kNumber),
                 bytesOf("<table>\r\n"
                         "<tr><td><!-- 日期 -->2010-05-12 10:30</td><td><a href=\"site\" "
                         "color=\"#FF0000\">深圳</a></td>"
                         "<td>收件</td></tr>\r\n"
                         "<tr><td><!-- 日期 -->2010-05-14 16:45</td><td><a href=\"site\" "
                         "color=\"#FF0000\">上海</a></td>"
                         "<td>录入站点[上海浦东]派送人为李四,签收人:张三</td></tr>\r\n"
                         "</table>"),
                 bytesOf("<table><tr><td>此单号无记录</td></tr></table>"),
                 {true, "2010-05-12", "深圳", "2010-05-14", "上海浦东"}});

    f.push_back({"中铁快运",
                 std::string(kNumber),
                 bytesOf("<p>您查询的号码 368609071201 的信息如下:</p><table>\r\n"
                         "<tr><td><!-- 日期 -->2010-05-12 10:30</td><td><a href=\"st\" "
                         "color=\"#FF0000\">北京西</a></td>"
                         "<td>承运</td></tr>\r\n"
                         "<tr><td><!-- 日期 -->2010-05-15 09:10</td><td><a href=\"st\" "
                         "color=\"#FF0000\">广州</a></td>"
                         "<td>录入站点[广州东站]派送人为王五</td></tr>\r\n"
                         "</table>"),
                 bytesOf("<p>对不起，查无此单</p>"),
                 {true, "2010-05-12", "北京西", "2010-05-15", "广州东站"}});

    // The help text under the table names the column; only the narrowed
    // table counts for the record test.
    f.push_back(
        {"圆通快递",
         std::string(kNumber),
         bytesOf(
             "<table><tr><td><table><tr><td colspan='4'>始发信息</td></tr>"
             "<tr><th>时间</th><th>地点</th><th>上一站/下一站</th><th>签收</th></tr>"
             "<tr><td>2010-05-12 10:30</td><td><a href='s1' target='_blank'>深圳</td>"
             "<td>深圳/广州</td><td>-</td></tr>"
             "<tr><td>2010-05-14 16:45</td><td><a href='s3' target='_blank'>上海</td>"
             "<td>广州/上海</td><td>2010-05-14 16:45 张三</td></tr></table></td></tr></table></td>"
             "<p>说明</p>"),
         bytesOf("<table><tr><td><table><tr><td colspan='4'>始发信息</td></tr>"
                 "<tr><td>无记录</td></tr></table></td></tr></table></td>"
                 "<p>说明: 上一站/下一站 为中转网点</p>"),
         {true, "2010-05-12 10:30", "深圳", "2010-05-14", "上海"}});

    f.push_back(
        {"德邦物流",
         std::string(kNumber),
         bytesOf(u8"<table><tr><th>跟踪时间</th><th>跟踪记录</th></tr>\r\n"
                 u8"<tr><td class='iteTd'>2010-05-12 10:30</td><td class='iteTd'>从 "
                 u8"[深圳宝安营业部] 发出,"
                 u8"目的地,[上海中转场]</td></tr>\r\n"
                 u8"<tr><td class='iteTd'>2010-05-14 16:45</td><td class='iteTd'>货物已到达目的地,"
                 u8"[上海浦东营业部] 签收</td></tr>\r\n"
                 u8"</table>"),
         bytesOf(u8"<p>没有找到运单信息</p>"),
         {true, "2010-05-12", "深圳宝安营业部", "2010-05-14", "上海浦东营业部"}});

    f.push_back(
        {"希伊艾斯CCES",
         std::string(kNumber),
         bytesOf("<table>\r\n"
                 "<tr><td>2010-05-12 10:30</td><td align=left>深圳</td><td>收件</td></tr>\r\n"
                 "<tr><td>2010-05-14 16:45</td><td "
                 "align=left>上海</td><td>[上海浦东]签收人：张三</td></tr>\r\n"
                 "</table>"),
         bytesOf("<table><tr><td>查无记录</td></tr></table>"),
         {true, "2010-05-12", "深圳", "2010-05-14", "上海浦东"}});

    f.push_back({"鑫飞鸿快递",
                 std::string(kNumber),
                 bytesOf("<table>\r\n"
                         "<tr><td>2010-05-12 10:30</td><td>\r\n<font "
                         "color=\"#ff0000\">深圳<br>已收件</font></td></tr>\r\n"
                         "<tr><td>2010-05-14 16:45 </td><td>货物到达<font "
                         "color=\"#ff0000\">上海</font></td></tr>\r\n"
                         "<tr><td>签收人是:张三</td></tr>\r\n"
                         "</table>"),
                 bytesOf("<table><tr><td>没有记录</td></tr></table>"),
                 {true, "2010-05-12 10:30", "深圳", "2010-05-14", "上海"}});

    {
        // Nine cells in one style: number, departure time and place, a
        // transit time and place, then receipt place, time, signer, state.
        const char* cells[] = {
            "368609071201", "2010-05-12 10:30", "深圳", "2010-05-13 08:15", "广州",
            "上海",         "2010-05-14 16:45", "张三", "正常签收"};
        std::string page = "<table><tr>";
        for (const char* cell : cells) {
            page += "<td><font color=\"#333333\" size=\"2\"><b>";
            page += cell;
            page += "</b></font></td>";
        }
        page += "</tr></table>";
        f.push_back({"宅急送快递",
                     std::string(kNumber),
                     bytesOf(page),
                     bytesOf("<table><tr><td><font color=\"#333333\" size=\"2\"><b>"
                             "查无此单</b></font></td></tr></table>"),
                     {true, "2010-05-12 10:30", "深圳", "2010-05-14 16:45", "上海"}});
    }

    {
        const std::string image = aaeImage();
        std::u8string page =
            u8"<table><tr><td><span>起运地</span>:</td>"
            u8"<td background=\"http://www.aae.example/track/img/bg.gif\">深圳</td></tr>\r\n<tr "
            u8"background=\"";
        page += std::u8string(image.begin(), image.end());
        page +=
            u8"\"><td><span>目的地</span></td>"
            u8"<td background=\"http://www.aae.example/track/img/bg.gif\">纽约</td></tr>\r\n<tr "
            u8"background=\"";
        page += std::u8string(image.begin(), image.end());
        page +=
            u8"\"><td></td></tr></table>\r\n"
            u8"<table><tr><th>Date/Time</th><th>Location</th><th>Event Description</th></tr>\r\n"
            u8"<tr><td>2010-05-14 16:45</td><td>NEW YORK</td><td>Delivered</td></tr>\r\n"
            u8"<tr><td>2010-05-13 02:00</td><td>HONG KONG</td><td>In transit</td></tr>\r\n"
            u8"<tr><td>2010-05-12 10:30</td><td>SHENZHEN</td><td>Picked up</td></tr></table>";
        f.push_back({"AAE全球专递",
                     std::string(kNumber),
                     bytesOf(page),
                     bytesOf(u8"<p>查无此单资料</p>"),
                     {true, "2010-05-12", "深圳", "2010-05-14", "纽约"}});
    }

    {
        // Number, departure time, departure place, destination, two event
        // times, signer, state, remark.
        const char* cells[] = {"368609071201",
                               "2010-05-12 10:30",
                               "深圳",
                               "上海",
                               "2010-05-13 08:15",
                               "2010-05-14 16:45",
                               "张三",
                               "正常",
                               "已签收"};
        std::string page = "<table><tr>";
        for (const char* cell : cells) {
            page += "<td><font size=\"2\"><b>";
            page += cell;
            page += "</b></font></td>";
        }
        page += "</tr></table>";
        f.push_back(
            {"星辰急便",
             std::string(kNumber),
             bytesOf(page),
             bytesOf("<table><tr><td><font size=\"2\"><b>查无此单</b></font></td></tr></table>"),
             {true, "2010-05-12 10:30", "深圳", "2010-05-14 16:45", "上海"}});
    }
    return f;
}

}  // namespace

const std::vector<CourierFixture>& courierFixtures() {
    static const std::vector<CourierFixture> fixtures = buildFixtures();
    return fixtures;
}

const CourierFixture& courierFixture(std::string_view courier) {
    for (const CourierFixture& fixture : courierFixtures()) {
        if (fixture.courier == courier) {
            return fixture;
        }
    }
    std::fprintf(stderr, "no courier fixture for the given name\n");
    std::abort();
}

}  // namespace zelvo::testing
