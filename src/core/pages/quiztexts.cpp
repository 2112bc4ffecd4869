#include "core/pages/quiztexts.h"

#include "core/pages/markers.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {
// Every line followed by CR LF, the last one too. Trailing blanks are part of the text.
QString crlfLines(const QStringList &lines)
{
    return lines.join(u"\r\n"_s) + u"\r\n"_s;
}
} // namespace

namespace QuizTexts {

QString scriptStart()
{
    return crlfLines({u"<SCRIPT language=\"JavaScript\">"_s, u"<!--"_s});
}

QString checkFunctions()
{
    return crlfLines({
        u"function Kselect(){"_s,
        u"var x=0;//誤答数 "_s,
        u"  for( i=0;i<kazu;i++)"_s,
        u"  { "_s,
        u"    str=\"/\"+myForm.elements[i].name+\"/\";"_s,
        u"    str1=\"/\"+myForm.elements[i].value+\"/\";"_s,
        u"    if (str.indexOf(str1,0)==-1)"_s,
        u"    { "_s,
        u"     //alert(myForm.elements[i].name);"_s,
        u"     x++;"_s,
        u"    }"_s,
        u"  }"_s,
        u"  if (x>0)"_s,
        u"  { "_s,
        u"  location.href=\"/$-1,$<-1[_【×】][_【△】],$HISJS sDAT[1]=-1\";"_s,
        u"  }"_s,
        u"  else{"_s,
        u"  location.href=\"/$+1,$_【○】,$HISJS sDAT[1]=+1\";"_s,
        u"  }"_s,
        u"} "_s,
        u"function Kkotae(){"_s,
        u"  for( i=0;i<kazu;i++)"_s,
        u"  { "_s,
        u"  myForm.elements[i].value=myForm.elements[i].name;"_s,
        u"  } "_s,
        u"}"_s,
        u"//--> "_s,
        u"</SCRIPT>"_s,
    });
}

QString buttons()
{
    return crlfLines({
        u"<CENTER>"_s,
        u"<INPUT type=\"reset\" value=\"□取消\" style=\"background-color:#FFFF88;color:#000000\">"_s,
        u"<INPUT type=\"button\" onclick=Kselect() name=\"■決定\""_s,
        u"value=\"■決定\" style=\"background-color:#ccccFF;color:#000000\">"_s,
        u"<INPUT type=\"button\" onclick=Kkotae() name=\"答えを見る\""_s,
        u"value=\"答えを見る\" style=\"background-color:#FFcccc;color:#000000\"> "_s,
        u"</CENTER>"_s,
    });
}

QString jumpFunction()
{
    return crlfLines({
        u"<SCRIPT language=\"JavaScript\"> "_s,
        u"<!-- "_s,
        u"function JumpURL(url)"_s,
        u"{"_s,
        u"  if (url != '')"_s,
        u"  {"_s,
        u"   location.href = url;"_s,
        u"  }"_s,
        u"}"_s,
        u"//-->"_s,
        u"</SCRIPT>"_s,
    });
}

QString rightSection()
{
    return crlfLines({
        u"<P>【○】</P>"_s,
        u"<P>　　　正解です。</P>"_s,
        u"<CENTER><INPUT type=\"button\" onclick=location.href=\"/$NEXT\" name=\"KR次\" value=\"次へ進む\"></CENTER> "_s,
    });
}

QString tryAgainSection()
{
    // The second line ends with a lone CR in every quiz page ever written.
    return u"<P>【△】</P>\r\n<P>　　違います。もう一度考えましょう。</P>\r"_s
        + crlfLines({u"<CENTER><INPUT type=\"button\" onclick=location.href=\"/$\" name=\"KR再度\" value=\"もう一度\"></CENTER>"_s});
}

QString wrongSection()
{
    return crlfLines({
        u"<P>【×】</P>"_s,
        u"<P>　　違います。前に戻って，やりなおしましょう。</P>"_s,
        u"<CENTER><INPUT type=\"button\" onclick=location.href=\"/$BACK\" name=\"KR前\" value=\"前に戻る\"></CENTER>"_s,
    });
}

QString nextButton()
{
    return crlfLines({
        u"<FORM>"_s,
        u"<CENTER><INPUT type=\"button\" onclick=\"JumpURL('/$NEXT');\" name=\"Button次\" value=\"ここをクリックして次に進む\"></CENTER> "_s,
        u"</FORM>"_s,
    });
}

QString answerBlock()
{
    return crlfLines({
        Markers::AnswerBegin,
        u"<FORM>"_s,
        u"<SCRIPT language=\"JavaScript\">"_s,
        u"<!--ANSWER--"_s,
        u"function _JumpURL(url)"_s,
        u"{"_s,
        u"if (url != '')"_s,
        u" {"_s,
        u" window.location = url;"_s,
        u" }"_s,
        u"}"_s,
        u"//-->"_s,
        u"</SCRIPT>"_s,
        u"<CENTER><INPUT type=\"button\" name=\"ANSWER\" onclick=\"_JumpURL('/$ANSWER');\" value=\"回答する\" "
        u"style=\"font-size : large;line-height : 1em;color : white;background-color : red;text-align : center;\"></CENTER>"_s,
        u"</FORM>"_s,
        Markers::AnswerEnd,
    });
}

} // namespace QuizTexts
