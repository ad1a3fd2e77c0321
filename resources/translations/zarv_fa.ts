<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fa_IR">
<context>
    <name>A_Glossary</name>
    <message>
        <source>Zarv, ZARV: the game, and the trump suit</source>
        <extracomment>The game&apos;s name and its trump are the same word: Farsi «زرو». No other word for either.</extracomment>
        <translation>زرو: نام بازی، و خالی که حاکم برای هر دست برمی‌گزیند</translation>
    </message>
    <message>
        <source>HAKEM: the master of a hand</source>
        <extracomment>The player who names the trump: Farsi «حاکم».</extracomment>
        <translation>حاکم: کسی که زرو را تعیین می‌کند</translation>
    </message>
    <message>
        <source>Suits: spades, hearts, diamonds, clubs</source>
        <extracomment>Farsi: ♠ پیک, ♥ دل, ♦ خشت, ♣ گشنیز; a suit is «خال».</extracomment>
        <translation>خال‌ها: پیک، دل، خشت، گشنیز</translation>
    </message>
    <message>
        <source>Trick, hand, game, point</source>
        <extracomment>Farsi: a trick is «دست», a hand (thirteen tricks) is «دور», a game is «بازی», a point is «امتیاز».</extracomment>
        <translation>دست، دور، بازی، امتیاز</translation>
    </message>
    <message>
        <source>Koot, PerKoot: a hand won seven to nothing</source>
        <extracomment>Farsi: «کوت» and «پرکوت», as players say them.</extracomment>
        <translation>کوت، پرکوت: دوری که هفت بر هیچ برده شود</translation>
    </message>
    <message>
        <source>Dealer, Partner, Against</source>
        <extracomment>Farsi: the Dealer (the machine the others join) is «میزبان»; its partner «یار», its opponents «حریف».</extracomment>
        <translation>میزبان، یار، حریف</translation>
    </message>
    <message>
        <source>Deal, seat, table, computer</source>
        <extracomment>Farsi: a deal of the cards is «پخش»; a seat «صندلی»; a table «میز»; the computer «رایانه».</extracomment>
        <translation>پخش، صندلی، میز، رایانه</translation>
    </message>
</context>
<context>
    <name>Balloon</name>
    <message>
        <source>Zarv</source>
        <translation>زرو</translation>
    </message>
    <message>
        <source>Ombrel Card Games</source>
        <translation>بازی‌های کارتی اُمبرل</translation>
    </message>
    <message>
        <source>Name the ZARV, take seven tricks,
win seven points.</source>
        <translation>زرو را تعیین کن، هفت دست بگیر،
هفت امتیاز ببر.</translation>
    </message>
</context>
<context>
    <name>CardPictures</name>
    <message>
        <source>Give up</source>
        <translation>تسلیم</translation>
    </message>
</context>
<context>
    <name>EngineTexts</name>
    <message>
        <source>Every seat is taken; please try again later.</source>
        <translation>همهٔ جاها پر است، لطفاً بعداً امتحان کنید.</translation>
    </message>
    <message>
        <source>You play as the Dealer&apos;s partner.</source>
        <translation>شما یار میزبان هستید.</translation>
    </message>
    <message>
        <source>The Dealer&apos;s partner&apos;s seat is taken: you play against the Dealer.</source>
        <translation>جای یار میزبان پر است؛ شما باید حریف میزبان باشید.</translation>
    </message>
    <message>
        <source>You play against the Dealer.</source>
        <translation>شما حریف میزبان هستید.</translation>
    </message>
    <message>
        <source>The seats against the Dealer are taken: you play as the Dealer&apos;s partner.</source>
        <translation>جای حریف میزبان پر است؛ شما یار میزبان خواهید بود.</translation>
    </message>
    <message>
        <source>The Dealer has closed the table.</source>
        <translation>میزبان میز را بست.</translation>
    </message>
    <message>
        <source>The Dealer has no game in progress; join it again.</source>
        <translation>میزبان بازیِ در جریانی ندارد؛ دوباره به آن بپیوندید.</translation>
    </message>
    <message>
        <source>That seat is not yours to take back.</source>
        <translation>این صندلی مال شما نیست که پسش بگیرید.</translation>
    </message>
    <message>
        <source>The table has closed</source>
        <translation>میز بسته شد</translation>
    </message>
    <message>
        <source>You are not watching a table.</source>
        <translation>شما میزی را تماشا نمی‌کنید.</translation>
    </message>
    <message>
        <source>Passwords travel only over an encrypted connection; connect to the server with TLS to use one.</source>
        <translation>گذرواژه فقط از راه اتصال رمزشده فرستاده می‌شود؛ برای به‌کار بردن گذرواژه، با اتصال رمزشده به سرور وصل شوید.</translation>
    </message>
    <message>
        <source>A table needs a name (up to 40 characters, without ; or |) and valid settings.</source>
        <translation>میز به یک نام (تا ۴۰ نویسه، بدون ; یا |) و تنظیمات درست نیاز دارد.</translation>
    </message>
    <message>
        <source>The server has no room for another table now.</source>
        <translation>سرور اکنون جای میز دیگری ندارد.</translation>
    </message>
    <message>
        <source>You have made as many tables as one connection may.</source>
        <translation>شما به اندازهٔ سهم یک اتصال میز ساخته‌اید.</translation>
    </message>
    <message>
        <source>There is a table of that name already.</source>
        <translation>میزی با این نام هم‌اکنون هست.</translation>
    </message>
    <message>
        <source>There is no such table.</source>
        <translation>چنین میزی نیست.</translation>
    </message>
    <message>
        <source>The table&apos;s maker does not allow watching.</source>
        <translation>سازندهٔ میز اجازهٔ تماشا نمی‌دهد.</translation>
    </message>
    <message>
        <source>Wrong password.</source>
        <translation>گذرواژه نادرست است.</translation>
    </message>
    <message>
        <source>Choose a table and seat 1, 2 or 4.</source>
        <translation>یک میز و صندلی ۱، ۲ یا ۴ را انتخاب کنید.</translation>
    </message>
    <message>
        <source>The table is playing; watch it or choose another.</source>
        <translation>این میز در حال بازی است؛ تماشایش کنید یا میز دیگری انتخاب کنید.</translation>
    </message>
    <message>
        <source>That seat is taken.</source>
        <translation>این صندلی گرفته شده است.</translation>
    </message>
    <message>
        <source>Choose a table to watch.</source>
        <translation>میزی را برای تماشا انتخاب کنید.</translation>
    </message>
    <message>
        <source>Only the table&apos;s maker may start it.</source>
        <translation>فقط سازندهٔ میز می‌تواند آن را شروع کند.</translation>
    </message>
    <message>
        <source>The table is playing already.</source>
        <translation>این میز هم‌اکنون در حال بازی است.</translation>
    </message>
    <message>
        <source>The server is closing</source>
        <translation>سرور در حال بسته شدن است</translation>
    </message>
    <message>
        <source>name the Dealer&apos;s computer</source>
        <translation>نام رایانهٔ میزبان را بنویسید</translation>
    </message>
    <message>
        <source>The name %1 is already at a table of this server; choose another.</source>
        <translation>نام %1 هم‌اکنون سر یکی از میزهای این سرور است؛ نام دیگری برگزینید.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; lacks its &apos;]&apos;</source>
        <translation>در «%1» نشانهٔ «‎]‎» نیامده است</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not [address]:port</source>
        <translation>‏«%1» به شکل [نشانی]:درگاه نیست</translation>
    </message>
    <message>
        <source>&apos;%1&apos; lacks the port after &apos;:&apos;</source>
        <translation>در «%1» پس از : شمارهٔ درگاه نیامده است</translation>
    </message>
    <message>
        <source>the port must be a number from 1 to 65535, not &apos;%1&apos;</source>
        <translation>درگاه باید عددی از ۱ تا ۶۵۵۳۵ باشد، نه «%1»</translation>
    </message>
    <message>
        <source>Slow down: at most 5 chat lines in 10 seconds.</source>
        <translation>آهسته‌تر: در هر ۱۰ ثانیه حداکثر ۵ پیام.</translation>
    </message>
    <message>
        <source>You are banned from this server: %1</source>
        <translation>ورود شما به این سرور ممنوع شده است: %1</translation>
    </message>
    <message>
        <source>You are muted on this server, and nobody reads your chat: %1</source>
        <translation>گفت‌وگوی شما در این سرور بسته شده و کسی پیام‌هایتان را نمی‌بیند: %1</translation>
    </message>
    <message>
        <source>%1 joined.  (%2)</source>
        <translation>‏%1 پیوست.  (%2)</translation>
    </message>
    <message>
        <source>Partner</source>
        <translation>یار</translation>
    </message>
    <message>
        <source>Against</source>
        <translation>حریف</translation>
    </message>
    <message>
        <source>The table is closing</source>
        <translation>میز بسته می‌شود</translation>
    </message>
    <message>
        <source>The lobby does not know &quot;%1&quot;.</source>
        <translation>سالن فرمان «%1» را نمی‌شناسد.</translation>
    </message>
    <message>
        <source>The name %1 belongs to a registered player; sign in to play under it, or choose another.</source>
        <translation>نام %1 از آنِ بازیکنی ثبت‌نام‌شده است؛ برای بازی با آن وارد حساب شوید، یا نام دیگری برگزینید.</translation>
    </message>
    <message>
        <source>Wrong name or password.</source>
        <translation>نام یا گذرواژه نادرست است.</translation>
    </message>
    <message>
        <source>The name %1 is registered already; choose another.</source>
        <translation>نام %1 پیش‌تر ثبت شده است؛ نام دیگری برگزینید.</translation>
    </message>
    <message>
        <source>Too many sign-in attempts; try again in a minute.</source>
        <translation>تلاش برای ورود بیش از اندازه بود؛ یک دقیقهٔ دیگر دوباره بکوشید.</translation>
    </message>
    <message>
        <source>Your sign-in has expired; sign in again with your password.</source>
        <translation>ورود شما منقضی شده است؛ با گذرواژه‌تان دوباره وارد شوید.</translation>
    </message>
    <message>
        <source>This server cannot sign you in now; try again later.</source>
        <translation>این سرور اکنون نمی‌تواند شما را وارد کند؛ بعداً دوباره بکوشید.</translation>
    </message>
    <message>
        <source>A name has 1 to 40 letters and a password 8 to 64 characters, neither with ; or |.</source>
        <translation>نام ۱ تا ۴۰ حرف و گذرواژه ۸ تا ۶۴ نویسه دارد، هیچ‌یک با ; یا |.</translation>
    </message>
    <message>
        <source>Sign in first.</source>
        <translation>نخست وارد حساب شوید.</translation>
    </message>
</context>
<context>
    <name>HandFaultWords</name>
    <message>
        <source>cannot read %1</source>
        <translation>‏%1 خوانده نمی‌شود</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>‏%1 خوانده نمی‌شود: %2</translation>
    </message>
    <message>
        <source>%1 is a directory</source>
        <translation>‏%1 یک پوشه است</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>‏%1 یک پروندهٔ معمولی نیست</translation>
    </message>
    <message>
        <source>the file is too large to be a saved hand</source>
        <translation>پرونده بزرگ‌تر از آن است که دستی ذخیره‌شده باشد</translation>
    </message>
    <message>
        <source>%1 is too large to be a saved hand</source>
        <translation>‏%1 بزرگ‌تر از آن است که دستی ذخیره‌شده باشد</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a card code (g, p, h or x followed by 2 to 14)</source>
        <translation>‏«%1» کد برگ نیست (g، p، h یا x و پس از آن عددی از ۲ تا ۱۴)</translation>
    </message>
    <message>
        <source>card %1 appears twice in the deal</source>
        <translation>برگ %1 دو بار در پخش آمده است</translation>
    </message>
    <message>
        <source>a deal needs 52 card codes, not %L1 or more</source>
        <translation>پخش به ۵۲ کد برگ نیاز دارد، نه %L1 یا بیشتر</translation>
    </message>
    <message>
        <source>a deal needs 52 card codes, not %L1</source>
        <translation>پخش به ۵۲ کد برگ نیاز دارد، نه %L1</translation>
    </message>
    <message>
        <source>%1 must be a seat from 1 to 4</source>
        <translation>‏%1 باید جایگاهی از ۱ تا ۴ باشد</translation>
    </message>
    <message>
        <source>trump must be g, p, h, x or -</source>
        <translation>زرو باید g، p، h، x یا - باشد</translation>
    </message>
    <message>
        <source>unknown entry &apos;%1&apos;</source>
        <translation>مدخل ناشناختهٔ «%1»</translation>
    </message>
    <message>
        <source>the file has no deal line</source>
        <translation>پرونده خط deal ندارد</translation>
    </message>
    <message>
        <source>the file has no master line</source>
        <translation>پرونده خط master ندارد</translation>
    </message>
    <message>
        <source>line %L1: %2</source>
        <translation>خط %L1: %2</translation>
    </message>
    <message>
        <source>card %1 is played twice</source>
        <translation>کارت %1 دو بار بازی شده است</translation>
    </message>
    <message>
        <source>you have no seat in this hand</source>
        <translation>شما در این دور جایی ندارید</translation>
    </message>
    <message>
        <source>no ZARV was named in this hand</source>
        <translation>در این دور زرو تعیین نشد</translation>
    </message>
    <message>
        <source>no card of this hand was played</source>
        <translation>از این دور هیچ کارتی بازی نشد</translation>
    </message>
    <message>
        <source>card %L1 of the plays (%2) could not have been played then</source>
        <translation>کارت %L1 از کارت‌های بازی‌شده (%2) در آن هنگام نمی‌توانست بازی شود</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Zarv Help</source>
        <translation>راهنمای زرو</translation>
    </message>
    <message>
        <source>The help page is missing: %1</source>
        <translation>صفحهٔ راهنما پیدا نشد: %1</translation>
    </message>
</context>
<context>
    <name>StatusWords</name>
    <message>
        <source>Watching %1 — Game &gt; Leave Network Game stops watching</source>
        <translation>تماشای %1 — «بازی &gt; ترک بازی شبکه‌ای» تماشا را پایان می‌دهد</translation>
    </message>
    <message>
        <source>Reconnecting to the Dealer... (%1 s left)</source>
        <translation>اتصال دوباره به میزبان... (%L1 ثانیه مانده)</translation>
    </message>
    <message>
        <source>The Dealer is not answering — Game &gt; Leave Network Game ends this game</source>
        <translation>میزبان پاسخ نمی‌دهد — «بازی &gt; ترک بازی شبکه‌ای» این بازی را پایان می‌دهد</translation>
    </message>
    <message>
        <source>Last card: %1</source>
        <translation>کارت آخر: %1</translation>
    </message>
    <message>
        <source>Waiting for players to join</source>
        <translation>در انتظار پیوستن بازیکنان</translation>
    </message>
    <message>
        <source>Waiting for the Dealer to start the game</source>
        <translation>در انتظار آغاز بازی از سوی میزبان</translation>
    </message>
    <message>
        <source>In the table server&apos;s lobby</source>
        <translation>در سالن سرور میز</translation>
    </message>
    <message>
        <source>Waiting for the Dealer to give your seat back</source>
        <translation>در انتظار پس دادن صندلی‌تان از سوی میزبان</translation>
    </message>
</context>
<context>
    <name>TableStatus</name>
    <message>
        <source>1 trick</source>
        <translation>‏۱ دست</translation>
    </message>
    <message>
        <source>%1 tricks</source>
        <translation>‏%L1 دست</translation>
    </message>
    <message>
        <source>Press F2 or choose Game &gt; Start to deal</source>
        <translation>برای پخش کارت‌ها کلید F2 را بزنید یا «بازی &gt; شروع» را برگزینید</translation>
    </message>
    <message>
        <source>Dealing...</source>
        <translation>پخش کارت‌ها...</translation>
    </message>
    <message>
        <source>The hand is over</source>
        <translation>این دور تمام شد</translation>
    </message>
    <message>
        <source>You are HAKEM — click a card to name the ZARV</source>
        <translation>شما حاکم هستید — روی یک کارت بزنید تا زرو را تعیین کنید</translation>
    </message>
    <message>
        <source>%1 is choosing the ZARV</source>
        <translation>‏%1 زرو را انتخاب می‌کند</translation>
    </message>
    <message>
        <source>Waiting for %1 — %2 s</source>
        <translation>در انتظار %1‏ — %L2 ثانیه</translation>
    </message>
    <message>
        <source>%1 to play</source>
        <translation>نوبت %1 است</translation>
    </message>
    <message>
        <source>lead any card</source>
        <translation>با هر کارتی دست را شروع کنید</translation>
    </message>
    <message>
        <source>follow %1 if you can</source>
        <translation>اگر دارید %1 بیایید</translation>
    </message>
    <message>
        <source>Your turn — %1; %2 s left, then the computer plays</source>
        <translation>نوبت شماست — %1؛ ‏%L2 ثانیه مانده، سپس رایانه بازی می‌کند</translation>
    </message>
    <message>
        <source>Your turn — lead any card</source>
        <translation>نوبت شماست — با هر کارتی دست را شروع کنید</translation>
    </message>
    <message>
        <source>Your turn — follow %1</source>
        <translation>نوبت شماست — %1 بیایید</translation>
    </message>
    <message>
        <source>Your turn — no %1 left, play any card</source>
        <translation>نوبت شماست — %1 ندارید، هر کارتی بازی کنید</translation>
    </message>
    <message>
        <source>not named</source>
        <translation>تعیین نشده</translation>
    </message>
    <message>
        <source>ZARV %1</source>
        <translation>زرو %1</translation>
    </message>
    <message>
        <source>HAKEM %1</source>
        <translation>حاکم %1</translation>
    </message>
    <message>
        <source>1 pt</source>
        <translation>‏۱ امتیاز</translation>
    </message>
    <message>
        <source>%1 pts</source>
        <translation>‏%L1 امتیاز</translation>
    </message>
    <message>
        <source>You &amp; %1: %2, %3</source>
        <translation>شما و %1: %2، %3</translation>
    </message>
    <message>
        <source>%1 &amp; %2: %3, %4</source>
        <translation>‏%1 و %2: %3، %4</translation>
    </message>
    <message>
        <source>You and %1 won the game, %2 to %3.</source>
        <translation>شما و %1 بازی را بردید، %L2 به %L3.</translation>
    </message>
    <message>
        <source>%1 and %2 won the game, %3 to %4.</source>
        <translation>‏%1 و %2 بازی را بردند، %L3 به %L4.</translation>
    </message>
    <message>
        <source>its highest card of the suit</source>
        <translation>بالاترین کارتِ آن خال</translation>
    </message>
    <message>
        <source>its lowest card of the suit</source>
        <translation>پایین‌ترین کارتِ آن خال</translation>
    </message>
    <message>
        <source>the lowest card that can take the trick</source>
        <translation>پایین‌ترین کارتی که دست را می‌برد</translation>
    </message>
    <message>
        <source>a middle card of the suit</source>
        <translation>یک کارت میانی از آن خال</translation>
    </message>
    <message>
        <source>any card: nothing better to do</source>
        <translation>هر کارتی: کار بهتری نیست</translation>
    </message>
    <message>
        <source>the only card that may be played</source>
        <translation>تنها کارتی که می‌شود بازی کرد</translation>
    </message>
    <message>
        <source>the Expert expects to lose %1 points with %2</source>
        <translation>ماهر انتظار دارد با %2، %1 امتیاز ببازد</translation>
    </message>
    <message>
        <source>the Expert expects to win %1 points with %2</source>
        <translation>ماهر انتظار دارد با %2، %1 امتیاز ببرد</translation>
    </message>
    <message>
        <source> — next best %1</source>
        <translation> — بهترینِ بعدی %1</translation>
    </message>
    <message>
        <source>1 point</source>
        <translation>‏۱ امتیاز</translation>
    </message>
    <message>
        <source>%1 points</source>
        <translation>‏%L1 امتیاز</translation>
    </message>
    <message>
        <source>the Master expects to lose %1 points with %2</source>
        <translation>استاد انتظار دارد با %2، %1 امتیاز ببازد</translation>
    </message>
    <message>
        <source>the Master expects to win %1 points with %2</source>
        <translation>استاد انتظار دارد با %2، %1 امتیاز ببرد</translation>
    </message>
</context>
<context>
    <name>TableStatusBar</name>
    <message>
        <source>Watching</source>
        <translation>تماشا</translation>
    </message>
</context>
<context>
    <name>TableWords</name>
    <message>
        <source>Koot!<byte value="xd"/>
%1 and %2 win.</source>
        <translation>کوت!<byte value="xd"/>
%1 و %2 بردند.</translation>
    </message>
    <message>
        <source>PerKoot!!<byte value="xd"/>
%1 and %2 win.</source>
        <translation>پرکوت!!<byte value="xd"/>
%1 و %2 بردند.</translation>
    </message>
    <message>
        <source>PerKoot!<byte value="xd"/>
%1 and %2 win.</source>
        <translation>پرکوت!<byte value="xd"/>
%1 و %2 بردند.</translation>
    </message>
    <message>
        <source>%1 and %2 win the hand.</source>
        <translation>‏%1 و %2 بردند.</translation>
    </message>
    <message>
        <source>%1 is &quot;HAKEM&quot;... </source>
        <translation>‏%1 «حاکم» است... </translation>
    </message>
    <message>
        <source>You are &quot;HAKEM&quot;, now choose &quot;ZARV&quot;... </source>
        <translation>شما «حاکم» هستید، حالا «زرو» را انتخاب کنید... </translation>
    </message>
    <message>
        <source>I&apos;m choosing &quot;ZARV&quot;... </source>
        <translation>دارم «زرو» را انتخاب می‌کنم... </translation>
    </message>
    <message>
        <source>%1 is back.</source>
        <translation>‏%1 برگشت.</translation>
    </message>
    <message>
        <source>%1 left; a computer player takes the seat.</source>
        <translation>اتصال %1 قطع شد؛ یک بازیکن رایانه جای او را گرفت.</translation>
    </message>
    <message>
        <source>%1 left; the game is over.</source>
        <translation>اتصال %1 قطع شد؛ بازی تمام شد.</translation>
    </message>
    <message>
        <source>Reconnecting to the Dealer...</source>
        <translation>اتصال دوباره به میزبان...</translation>
    </message>
    <message>
        <source>You are disconnected; the game is over.</source>
        <translation> اتصال شما قطع شد، بازی تمام شد.</translation>
    </message>
    <message>
        <source>The Dealer&apos;s table could not be followed; the game is over.</source>
        <translation>میز میزبان را نمی‌شد دنبال کرد؛ بازی تمام شد.</translation>
    </message>
    <message>
        <source>The Dealer sent a message this game cannot follow; the game is over.</source>
        <translation>میزبان پیامی فرستاد که این بازی نمی‌تواند دنبالش کند؛ بازی تمام شد.</translation>
    </message>
</context>
<context>
    <name>WatchNews</name>
    <message>
        <source>Seat %1</source>
        <translation>صندلی %L1</translation>
    </message>
    <message>
        <source>Hand %1: %2 is HAKEM.</source>
        <translation>دور %L1: %2 حاکم است.</translation>
    </message>
    <message>
        <source>%1 names the ZARV: %2</source>
        <translation>‏%1 زرو را تعیین کرد: %2</translation>
    </message>
    <message>
        <source>Game over: %1 and %2 win, %3 to %4.</source>
        <translation>بازی تمام شد: %1 و %2 بردند، %L3 به %L4.</translation>
    </message>
</context>
<context>
    <name>zarv::net::TcpTransport</name>
    <message>
        <source>The server&apos;s certificate is not the one pinned for it: its SHA-256 fingerprint is %1, not %2.</source>
        <translation>گواهی سرور آن گواهی‌ای نیست که برایش ثبت شده: اثر انگشت آن %1 است، نه %2.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate cannot be trusted (%1). Its SHA-256 fingerprint is %2: if the server&apos;s admin published the same, give it as the server&apos;s fingerprint.</source>
        <translation>به گواهی سرور نمی‌توان اعتماد کرد (%1). اثر انگشت آن %2 است: اگر مدیر سرور همین را منتشر کرده، آن را به‌عنوان اثر انگشت سرور بدهید.</translation>
    </message>
    <message>
        <source>This server does not speak TLS: turn off “Encrypted connection”, or ask its owner for a TLS address.</source>
        <translation>این سرور اتصال رمزشده (TLS) ندارد: «اتصال رمزشده» را خاموش کنید، یا از صاحبش نشانی‌ای با TLS بخواهید.</translation>
    </message>
</context>
<context>
    <name>zarv::ui::AboutDialog</name>
    <message>
        <source>About %1</source>
        <translation>دربارهٔ %1</translation>
    </message>
    <message>
        <source>Zarv</source>
        <translation>زرو</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>نسخهٔ %1</translation>
    </message>
    <message>
        <source>A trick-taking card game for four players in two teams. The HAKEM names the ZARV after seeing five cards; seven tricks win a hand, seven points win the game.

Ombrel Card Games</source>
        <translation>یک بازی کارتی بر پایهٔ بردن دست‌ها، برای چهار بازیکن در دو تیم. حاکم پس از دیدن پنج کارت، زرو را تعیین می‌کند؛ با هفت دست یک دور برده می‌شود و با هفت امتیاز، بازی.

بازی‌های کارتی اُمبرل</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>اطلاعات سیستم...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>تأیید</translation>
    </message>
    <message>
        <source>Qt %1 (built with %2)</source>
        <translation>کیوت %1 (ساخته‌شده با %2)</translation>
    </message>
    <message>
        <source>Platform: %1, %2 (%3)</source>
        <translation>سکو: %1، %2 (%3)</translation>
    </message>
    <message>
        <source>Screen: %1 x %2, scale %3, %4 dots per inch</source>
        <translation>صفحه: %L1 × %L2، مقیاس %L3، %L4 نقطه در اینچ</translation>
    </message>
    <message>
        <source>Settings: %1</source>
        <translation>تنظیمات: %1</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(هیچ)</translation>
    </message>
    <message>
        <source>System Info</source>
        <translation>اطلاعات سیستم</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>رونوشت</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>بستن</translation>
    </message>
</context>
<context>
    <name>zarv::ui::ChatPanel</name>
    <message>
        <source>Chat:</source>
        <translation>گفتگو:</translation>
    </message>
    <message>
        <source>&quot;|&quot; cannot be sent</source>
        <translation>«|» را نمی‌شود فرستاد</translation>
    </message>
</context>
<context>
    <name>zarv::ui::LastTrickDialog</name>
    <message>
        <source>Last trick — won by %1</source>
        <translation>دست آخر — برنده: %1</translation>
    </message>
    <message>
        <source>Won by %1</source>
        <translation>برنده: %1</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>بستن</translation>
    </message>
</context>
<context>
    <name>zarv::ui::MakeTableDialog</name>
    <message>
        <source>Make Table</source>
        <translation>ساختن میز</translation>
    </message>
    <message>
        <source>none: anyone may sit down</source>
        <translation>بدون گذرواژه: هر کسی می‌تواند بنشیند</translation>
    </message>
    <message>
        <source>needs an encrypted connection</source>
        <translation>اتصال رمزشده لازم است</translation>
    </message>
    <message>
        <source>Passwords travel only over an encrypted (TLS) connection to the server.</source>
        <translation>گذرواژه فقط از راه اتصال رمزشده به سرور فرستاده می‌شود.</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>معمولی</translation>
    </message>
    <message>
        <source>Expert</source>
        <translation>ماهر</translation>
    </message>
    <message>
        <source> seconds</source>
        <translation> ثانیه</translation>
    </message>
    <message>
        <source>Others may &amp;watch</source>
        <translation>دیگران بتوانند تماشا کنند</translation>
    </message>
    <message>
        <source>Table &amp;name:</source>
        <translation>نام میز:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>گذرواژه:</translation>
    </message>
    <message>
        <source>&amp;Computer players:</source>
        <translation>بازیکنان رایانه:</translation>
    </message>
    <message>
        <source>&amp;Move limit:</source>
        <translation>مهلت هر حرکت:</translation>
    </message>
    <message>
        <source>&amp;Make</source>
        <translation>بساز</translation>
    </message>
    <message>
        <source>A table needs a name of up to 40 characters, without ; or |.</source>
        <translation>میز به نامی تا ۴۰ نویسه نیاز دارد، بدون ; یا |.</translation>
    </message>
    <message>
        <source>A password may not hold ; or |.</source>
        <translation>گذرواژه نباید ; یا | داشته باشد.</translation>
    </message>
    <message>
        <source>Games count in the &amp;ratings</source>
        <translation>بازی‌ها در درجه‌بندی حساب می‌شوند</translation>
    </message>
    <message>
        <source>Beginner</source>
        <translation>مبتدی</translation>
    </message>
    <message>
        <source>Master</source>
        <translation>استاد</translation>
    </message>
</context>
<context>
    <name>zarv::ui::NetworkDialog</name>
    <message>
        <source>Network</source>
        <translation>شبکه</translation>
    </message>
    <message>
        <source>%1 answered, but it is no table server (no lobby after %2 seconds).</source>
        <translation>‏%1 پاسخ داد، ولی سرور میز نیست (پس از %L2 ثانیه سالنی در کار نبود).</translation>
    </message>
    <message>
        <source>No answer from %1 after %2 seconds.</source>
        <translation>پس از %L2 ثانیه پاسخی از %1 نیامد.</translation>
    </message>
    <message>
        <source>Play as Dealer (Others connect to my computer)</source>
        <translation>بازی به‌عنوان میزبان (دیگران به رایانهٔ من وصل می‌شوند)</translation>
    </message>
    <message>
        <source>Join another player&apos;s game</source>
        <translation>وصل شدن به بازیکنی دیگر</translation>
    </message>
    <message>
        <source>Play on a &amp;table server</source>
        <translation>بازی روی سرور میز</translation>
    </message>
    <message>
        <source>The Dealer&apos;s computer name or address:</source>
        <translation>نام یا نشانی رایانهٔ میزبان:</translation>
    </message>
    <message>
        <source>name, address, name:port or [IPv6]:port</source>
        <translation>نام، نشانی، نام:درگاه یا [نشانی IPv6]:درگاه</translation>
    </message>
    <message>
        <source>The Dealer&apos;s partner</source>
        <translation>یار میزبان</translation>
    </message>
    <message>
        <source>Against the Dealer</source>
        <translation>حریف میزبان</translation>
    </message>
    <message>
        <source>Continue...</source>
        <translation>ادامه...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>انصراف</translation>
    </message>
    <message>
        <source>Waiting for others to join...</source>
        <translation>در انتظار پیوستن دیگران...</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>رونوشت</translation>
    </message>
    <message>
        <source>Copy the address, to send it to a friend</source>
        <translation>رونوشت نشانی، برای فرستادن به یک دوست</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>انصراف</translation>
    </message>
    <message>
        <source>&amp;Encrypted connection (TLS)</source>
        <translation>اتصال رمزشده</translation>
    </message>
    <message>
        <source>Needed for private tables. The server&apos;s certificate is checked; a failed check stops the connection.</source>
        <translation>برای میزهای خصوصی لازم است. گواهی سرور بررسی می‌شود؛ اگر بررسی ناموفق باشد، اتصال قطع می‌شود.</translation>
    </message>
    <message>
        <source>only for a self-made certificate: AB:CD:...</source>
        <translation>فقط برای گواهیِ خودساخته: ۶۴ رقم شانزده‌شانزدهی</translation>
    </message>
    <message>
        <source>The SHA-256 fingerprint of the server&apos;s certificate, as its admin publishes it. Remembered for this server.</source>
        <translation>اثر انگشت SHA-256 گواهی سرور، همان‌گونه که مدیر سرور منتشرش می‌کند. برای این سرور به یاد سپرده می‌شود.</translation>
    </message>
    <message>
        <source>Ser&amp;ver:</source>
        <translation>سرور:</translation>
    </message>
    <message>
        <source>Certificate &amp;fingerprint:</source>
        <translation>اثر انگشت گواهی:</translation>
    </message>
    <message>
        <source>Your &amp;name:</source>
        <translation>نام شما:</translation>
    </message>
    <message>
        <source>Please enter the Dealer&apos;s computer name.</source>
        <translation>لطفاً نام رایانهٔ میزبان را وارد کنید.</translation>
    </message>
    <message>
        <source>Connecting to the Dealer...</source>
        <translation>در حال وصل شدن به میزبان...</translation>
    </message>
    <message>
        <source>&amp;Try Again</source>
        <translation>دوباره</translation>
    </message>
    <message>
        <source>Start Game</source>
        <translation>شروع بازی</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>قطع اتصال</translation>
    </message>
    <message>
        <source>&amp;Start the Table</source>
        <translation>شروع میز</translation>
    </message>
    <message>
        <source>Starting the table; the computer plays the empty seats...</source>
        <translation>میز شروع می‌شود؛ رایانه جای صندلی‌های خالی بازی می‌کند...</translation>
    </message>
    <message>
        <source>%1 left; the seat is free again.</source>
        <translation>‏%1 رفت؛ صندلی دوباره خالی است.</translation>
    </message>
    <message>
        <source>%1 is the Dealer.  (%2)</source>
        <translation>‏%1 میزبان است.  (%2)</translation>
    </message>
    <message>
        <source>Please wait until the Dealer starts the game...</source>
        <translation>لطفاً صبر کنید تا میزبان بازی را شروع کند...</translation>
    </message>
    <message>
        <source>Start the table when your friends are seated; the computer plays the empty seats.</source>
        <translation>وقتی دوستانتان نشستند، میز را شروع کنید؛ رایانه جای صندلی‌های خالی بازی می‌کند.</translation>
    </message>
    <message>
        <source>Please wait until the table starts: when its seats are taken, or its maker starts it.</source>
        <translation>لطفاً صبر کنید تا میز شروع شود: وقتی صندلی‌هایش پر شود، یا سازنده‌اش آن را شروع کند.</translation>
    </message>
    <message>
        <source>Enter the table server&apos;s name or address please.</source>
        <translation>لطفاً نام یا نشانی سرور میز را وارد کنید.</translation>
    </message>
    <message>
        <source>A certificate fingerprint is 64 hexadecimal digits (colons may stand between them), as the server&apos;s admin publishes it.</source>
        <translation>اثر انگشت گواهی ۶۴ رقم شانزده‌شانزدهی است (میانشان می‌تواند دونقطه بیاید)، همان‌گونه که مدیر سرور منتشرش می‌کند.</translation>
    </message>
    <message>
        <source>Enter your name please (without ; or |).</source>
        <translation>لطفاً نامتان را وارد کنید (بدون ; یا |).</translation>
    </message>
    <message>
        <source>Connecting to %1...</source>
        <translation>در حال وصل شدن به %1...</translation>
    </message>
    <message>
        <source>Cannot connect to %1: %2</source>
        <translation>وصل شدن به %1 ممکن نیست: %2</translation>
    </message>
    <message>
        <source>The table server at %1 closed the connection.</source>
        <translation>سرور میز در %1 اتصال را بست.</translation>
    </message>
    <message>
        <source>Connected to %1%2. Choose a table and a seat, or make a table.</source>
        <translation>به %1%2 وصل شدید. یک میز و یک صندلی انتخاب کنید، یا میزی بسازید.</translation>
    </message>
    <message>
        <source> (encrypted)</source>
        <translation> (رمزشده)</translation>
    </message>
    <message>
        <source>Your table is made. Choose your seat and sit down.</source>
        <translation>میز شما ساخته شد. صندلی‌تان را انتخاب کنید و بنشینید.</translation>
    </message>
    <message>
        <source>Asking the table for the seat...</source>
        <translation>درخواست صندلی از میز...</translation>
    </message>
    <message>
        <source>%1&apos;s table</source>
        <translation>میز %1</translation>
    </message>
    <message>
        <source>Making the table...</source>
        <translation>در حال ساختن میز...</translation>
    </message>
    <message>
        <source>This table is private: its password travels only over an encrypted connection. Leave, tick &quot;Encrypted connection&quot; and connect again.</source>
        <translation>این میز خصوصی است: گذرواژه‌اش فقط از راه اتصال رمزشده فرستاده می‌شود. بیرون بروید، «اتصال رمزشده» را علامت بزنید و دوباره وصل شوید.</translation>
    </message>
    <message>
        <source>Private Table</source>
        <translation>میز خصوصی</translation>
    </message>
    <message>
        <source>The table&apos;s &amp;password:</source>
        <translation>گذرواژهٔ میز:</translation>
    </message>
    <message>
        <source>Asking to watch...</source>
        <translation>درخواست تماشا...</translation>
    </message>
    <message>
        <source>Asking for seat %1...</source>
        <translation>درخواست صندلی %L1...</translation>
    </message>
    <message>
        <source>The Dealer at %1 closed the connection.</source>
        <translation>میزبان در %1 اتصال را بست.</translation>
    </message>
    <message>
        <source>No answer from %1 after %2 seconds. If it is a server without TLS, turn off “Encrypted connection”.</source>
        <translation>پس از %L2 ثانیه پاسخی از %1 نیامد. اگر سرور اتصال رمزشده (TLS) ندارد، «اتصال رمزشده» را خاموش کنید.</translation>
    </message>
    <message>
        <source>Asking the Dealer for your seat back...</source>
        <translation>از میزبان خواسته می‌شود صندلی‌تان را پس بدهد...</translation>
    </message>
    <message>
        <source>Asking %1 for your seat back...</source>
        <translation>از %1 خواسته می‌شود صندلی‌تان را پس بدهد...</translation>
    </message>
</context>
<context>
    <name>zarv::ui::NetworkPlay</name>
    <message>
        <source>The Dealer could not be reached again; the network game is over.</source>
        <translation>دسترسی دوباره به میزبان ممکن نشد؛ بازی شبکه‌ای تمام شد.</translation>
    </message>
    <message>
        <source>Port %1 could not be opened (%2), so this game listens on port %3 instead.
</source>
        <translation>درگاه %L1 باز نشد (%2)، پس این بازی به‌جای آن روی درگاه %L3 منتظر می‌ماند.
</translation>
    </message>
    <message>
        <source>No port could be opened for others to join: %1</source>
        <translation>هیچ درگاهی برای پیوستن دیگران باز نشد: %1</translation>
    </message>
    <message>
        <source>Join at %1</source>
        <translation>پیوستن در %1</translation>
    </message>
    <message>
        <source>Others join at port %1 of this computer: %2</source>
        <translation>دیگران از درگاه %L1 این رایانه می‌پیوندند: %2</translation>
    </message>
    <message>
        <source>(no network address found)</source>
        <translation>(نشانی شبکه‌ای پیدا نشد)</translation>
    </message>
    <message>
        <source>You stopped watching.</source>
        <translation>تماشا را پایان دادید.</translation>
    </message>
    <message>
        <source>You left the network game.</source>
        <translation>از بازی شبکه‌ای بیرون آمدید.</translation>
    </message>
    <message>
        <source>The Dealer did not give the seat back: %1</source>
        <translation>میزبان صندلی را پس نداد: %1</translation>
    </message>
    <message>
        <source>The connection to the Dealer was lost. Reconnecting...</source>
        <translation>اتصال به میزبان قطع شد. اتصال دوباره...</translation>
    </message>
    <message>
        <source>The Dealer has gone; the network game is over.</source>
        <translation>میزبان رفته است؛ بازی شبکه‌ای تمام شد.</translation>
    </message>
    <message>
        <source>%1 tried to join, but the game has started.</source>
        <translation>‏%1 خواست بپیوندد، ولی بازی شروع شده است.</translation>
    </message>
    <message>
        <source>The Dealer has not answered for %1 seconds. Game &gt; Leave Network Game ends this game here.</source>
        <translation>میزبان %L1 ثانیه است که پاسخ نداده. «بازی &gt; ترک بازی شبکه‌ای» این بازی را همین‌جا پایان می‌دهد.</translation>
    </message>
    <message>
        <source>The connection to the table server was lost.</source>
        <translation>اتصال به سرور میز قطع شد.</translation>
    </message>
</context>
<context>
    <name>zarv::ui::OptionsDialog</name>
    <message>
        <source>Abbadan</source>
        <translation>آبادان</translation>
    </message>
    <message>
        <source>Casino</source>
        <translation>کازینو</translation>
    </message>
    <message>
        <source>Soft Lights</source>
        <translation>نور ملایم</translation>
    </message>
    <message>
        <source>Sharp</source>
        <translation>تیز</translation>
    </message>
    <message>
        <source>Shadow</source>
        <translation>سایه</translation>
    </message>
    <message>
        <source>UserDifiend!</source>
        <translation>دلخواه!</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>گزینه‌ها</translation>
    </message>
    <message>
        <source>Deck</source>
        <translation>دسته کارت</translation>
    </message>
    <message>
        <source>Color 1</source>
        <translation>رنگ ۱</translation>
    </message>
    <message>
        <source>Color 2</source>
        <translation>رنگ ۲</translation>
    </message>
    <message>
        <source>Color 3</source>
        <translation>رنگ ۳</translation>
    </message>
    <message>
        <source>Border</source>
        <translation>حاشیه</translation>
    </message>
    <message>
        <source>Area Color</source>
        <translation>رنگ زمینه</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>پس‌زمینه</translation>
    </message>
    <message>
        <source>Animation Speed</source>
        <translation>سرعت حرکت کارت‌ها</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>آهسته</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>تند</translation>
    </message>
    <message>
        <source>Computer players</source>
        <translation>بازیکنان رایانه</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>معمولی</translation>
    </message>
    <message>
        <source>Expert</source>
        <translation>ماهر</translation>
    </message>
    <message>
        <source>Network: wait for a silent player</source>
        <translation>شبکه: انتظار برای بازیکن خاموش</translation>
    </message>
    <message>
        <source> s</source>
        <translation> ثانیه</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>زبان</translation>
    </message>
    <message>
        <source>Scheme:</source>
        <translation>طرح رنگ:</translation>
    </message>
    <message>
        <source>Group 1</source>
        <translation>گروه ۱</translation>
    </message>
    <message>
        <source>Group 2</source>
        <translation>گروه ۲</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>صدا</translation>
    </message>
    <message>
        <source>FX Sounds</source>
        <translation>جلوه‌های صوتی</translation>
    </message>
    <message>
        <source>Talking</source>
        <translation>گفتار</translation>
    </message>
    <message>
        <source> Messages And Talking</source>
        <translation> پیام‌ها و گفتگو</translation>
    </message>
    <message>
        <source>View</source>
        <translation>نما</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>تمام‌صفحه</translation>
    </message>
    <message>
        <source>Dim cards I may not play</source>
        <translation>کارت‌هایی را که نمی‌توانم بازی کنم کم‌رنگ کن</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>تأیید</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>اعمال</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>انصراف</translation>
    </message>
    <message>
        <source>&amp;Default</source>
        <translation>پیش‌فرض</translation>
    </message>
    <message>
        <source>Beginner</source>
        <translation>مبتدی</translation>
    </message>
    <message>
        <source>Master</source>
        <translation>استاد</translation>
    </message>
</context>
<context>
    <name>zarv::ui::PlayerNameDialog</name>
    <message>
        <source>Player Name</source>
        <translation>نام بازیکن</translation>
    </message>
    <message>
        <source>Choose your name, or type a new one:</source>
        <translation>نامتان را انتخاب کنید، یا نامی تازه بنویسید:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>تأیید</translation>
    </message>
    <message>
        <source>Choose or type a name of 1 to 15 characters</source>
        <translation>نامی بین ۱ تا ۱۵ نویسه انتخاب یا وارد کنید</translation>
    </message>
    <message>
        <source>A name cannot hold &quot;|&quot;, &quot;;&quot; or &quot;\&quot;. Please choose another name.</source>
        <translation>نام نمی‌تواند «|»، «;» یا «\» داشته باشد. لطفاً نام دیگری برگزینید.</translation>
    </message>
</context>
<context>
    <name>zarv::ui::ReviewDialog</name>
    <message>
        <source>Review Hand</source>
        <translation>مرور دور</translation>
    </message>
    <message>
        <source>◀ Previous Trick</source>
        <translation>▶ دست قبلی</translation>
    </message>
    <message>
        <source>Next Trick ▶</source>
        <translation>دست بعدی ◀</translation>
    </message>
    <message>
        <source>Trick</source>
        <translation>دست</translation>
    </message>
    <message>
        <source>Your decisions, the costliest first:</source>
        <translation>تصمیم‌های شما، پرهزینه‌ترین‌ها اول:</translation>
    </message>
    <message>
        <source>Save Hand...</source>
        <translation>ذخیرهٔ دور...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>بستن</translation>
    </message>
    <message>
        <source>The Master is weighing your cards...</source>
        <translation>استاد کارت‌های شما را می‌سنجد...</translation>
    </message>
    <message>
        <source>You had no choice to make in this trick.</source>
        <translation>در این دست انتخابی نداشتید.</translation>
    </message>
    <message>
        <source>You played %1.</source>
        <translation>شما %1 را بازی کردید.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>‏%1: %2</translation>
    </message>
    <message>
        <source>The Master expected (points for your side): %1</source>
        <translation>انتظار استاد (امتیاز برای تیم شما): %1</translation>
    </message>
    <message>
        <source>No card of this hand was played.</source>
        <translation>از این دور هیچ کارتی بازی نشد.</translation>
    </message>
    <message>
        <source>Trick %L1 of %L2</source>
        <translation>دست %L1 از %L2</translation>
    </message>
    <message>
        <source>%1, not finished</source>
        <translation>‏%1، ناتمام</translation>
    </message>
    <message>
        <source>%1, won by %2</source>
        <translation>‏%1، برنده: %2</translation>
    </message>
    <message>
        <source>led</source>
        <translation>شروع کرد</translation>
    </message>
    <message>
        <source>Trick %L1: %2</source>
        <translation>دست %L1: %2</translation>
    </message>
    <message>
        <source>You had no choice to make in this hand.</source>
        <translation>در این دور انتخابی نداشتید.</translation>
    </message>
    <message>
        <source>%1 was the best card</source>
        <translation>‏%1 بهترین کارت بود</translation>
    </message>
    <message>
        <source>%1 cost %2 points; %3 was best</source>
        <translation>‏%1 به اندازهٔ %2 امتیاز هزینه داشت؛ %3 بهترین بود</translation>
    </message>
    <message>
        <source>Save Hand</source>
        <translation>ذخیرهٔ دور</translation>
    </message>
    <message>
        <source>Zarv hands (*.zarv);;All files (*)</source>
        <translation>پخش‌های زرو (*.zarv);;همهٔ پرونده‌ها (*)</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>نوشتن %1 ممکن نیست: %2</translation>
    </message>
</context>
<context>
    <name>zarv::ui::ScoresDialog</name>
    <message>
        <source>Score</source>
        <translation>نتیجه‌ها</translation>
    </message>
    <message>
        <source>Player Name</source>
        <translation>نام بازیکن</translation>
    </message>
    <message>
        <source>Plays</source>
        <translation>بازی‌ها</translation>
    </message>
    <message>
        <source>Wins</source>
        <translation>بردها</translation>
    </message>
    <message>
        <source>Losses</source>
        <translation>باخت‌ها</translation>
    </message>
    <message>
        <source>Win Rate</source>
        <translation>درصد برد</translation>
    </message>
    <message>
        <source>&amp;Reset</source>
        <translation>صفر کردن</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>بستن</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>صفر کردن</translation>
    </message>
    <message>
        <source>Are you sure you want to reset all  game results?</source>
        <translation>آیا مطمئنید که می‌خواهید همهٔ نتیجه‌های بازی را صفر کنید؟</translation>
    </message>
    <message>
        <source>%</source>
        <comment>after a percentage</comment>
        <translation>٪</translation>
    </message>
    <message>
        <source>With Undo</source>
        <translation>با برگرداندن</translation>
    </message>
</context>
<context>
    <name>zarv::ui::ServerAccount</name>
    <message>
        <source>Registering...</source>
        <translation>در حال ثبت‌نام...</translation>
    </message>
    <message>
        <source>Signing in...</source>
        <translation>در حال ورود...</translation>
    </message>
    <message>
        <source>This table server has no accounts.</source>
        <translation>این سرور میز حساب کاربری ندارد.</translation>
    </message>
    <message>
        <source>Registered: the name %1 is yours on this server.</source>
        <translation>ثبت شد: نام %1 در این سرور از آنِ شماست.</translation>
    </message>
    <message>
        <source>Signed in as %1.</source>
        <translation>با نام %1 وارد شدید.</translation>
    </message>
    <message>
        <source>Signed out.</source>
        <translation>از حساب خارج شدید.</translation>
    </message>
</context>
<context>
    <name>zarv::ui::ServerLobbyPage</name>
    <message>
        <source>(free)</source>
        <translation>(خالی)</translation>
    </message>
    <message>
        <source>%1 (computer)</source>
        <translation>‏%1 (رایانه)</translation>
    </message>
    <message>
        <source>&amp;Tables:</source>
        <translation>میزها:</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>میز</translation>
    </message>
    <message>
        <source>Seat 1</source>
        <translation>صندلی ۱</translation>
    </message>
    <message>
        <source>Seat 2</source>
        <translation>صندلی ۲</translation>
    </message>
    <message>
        <source>Seat 3</source>
        <translation>صندلی ۳</translation>
    </message>
    <message>
        <source>Seat 4</source>
        <translation>صندلی ۴</translation>
    </message>
    <message>
        <source>State</source>
        <translation>وضعیت</translation>
    </message>
    <message>
        <source>Watching</source>
        <translation>تماشا</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>رایانه</translation>
    </message>
    <message>
        <source>&amp;Make Table...</source>
        <translation>ساختن میز...</translation>
    </message>
    <message>
        <source>S&amp;eat:</source>
        <translation>صندلی:</translation>
    </message>
    <message>
        <source>Seat 1 is the partner of the server&apos;s own seat (3); seats 2 and 4 play against them.</source>
        <translation>صندلی ۱ یار صندلیِ خود سرور (۳) است؛ صندلی‌های ۲ و ۴ حریف آن‌ها هستند.</translation>
    </message>
    <message>
        <source>&amp;Sit Down</source>
        <translation>نشستن</translation>
    </message>
    <message>
        <source>&amp;Watch</source>
        <translation>تماشا</translation>
    </message>
    <message>
        <source>&amp;Leave</source>
        <translation>ترک</translation>
    </message>
    <message>
        <source>&amp;Best players of the last 30 days:</source>
        <translation>بهترین بازیکنان ۳۰ روز گذشته:</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>رتبه</translation>
    </message>
    <message>
        <source>Player</source>
        <translation>بازیکن</translation>
    </message>
    <message>
        <source>Games</source>
        <translation>بازی‌ها</translation>
    </message>
    <message>
        <source>Wins</source>
        <translation>بردها</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>امتیازها</translation>
    </message>
    <message>
        <source>HAKEM hands won</source>
        <translation>دورهای برده در نقش حاکم</translation>
    </message>
    <message>
        <source>Private: the table&apos;s password is asked for</source>
        <translation>خصوصی: گذرواژهٔ میز پرسیده می‌شود</translation>
    </message>
    <message>
        <source>Open to everyone</source>
        <translation>باز برای همه</translation>
    </message>
    <message>
        <source>Playing</source>
        <translation>در حال بازی</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>در انتظار</translation>
    </message>
    <message>
        <source>not allowed</source>
        <translation>مجاز نیست</translation>
    </message>
    <message>
        <source>Expert</source>
        <translation>ماهر</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>معمولی</translation>
    </message>
    <message>
        <source>, %1 s a move</source>
        <translation>، %L1 ثانیه برای هر حرکت</translation>
    </message>
    <message>
        <source>Choose a table first</source>
        <translation>نخست یک میز انتخاب کنید</translation>
    </message>
    <message>
        <source>The table is playing</source>
        <translation>میز در حال بازی است</translation>
    </message>
    <message>
        <source>The table is full</source>
        <translation>میز پر است</translation>
    </message>
    <message>
        <source>The table&apos;s maker does not allow watching</source>
        <translation>سازندهٔ میز اجازهٔ تماشا نمی‌دهد</translation>
    </message>
    <message>
        <source>Sign &amp;In...</source>
        <translation>ورود به حساب...</translation>
    </message>
    <message>
        <source>&amp;Register...</source>
        <translation>ثبت‌نام...</translation>
    </message>
    <message>
        <source>Sign &amp;Out</source>
        <translation>خروج از حساب</translation>
    </message>
    <message>
        <source>Signed in as %1</source>
        <translation>واردشده با نام %1</translation>
    </message>
    <message>
        <source>Playing as %1, a guest</source>
        <translation>بازی با نام %1، به‌عنوان مهمان</translation>
    </message>
    <message>
        <source>Passwords travel only over an encrypted connection: tick &quot;Encrypted connection&quot; and connect again.</source>
        <translation>گذرواژه‌ها فقط از راه اتصال رمزنگاری‌شده فرستاده می‌شوند: «اتصال رمزنگاری‌شده» را بزنید و دوباره وصل شوید.</translation>
    </message>
    <message>
        <source>%1 (guest)</source>
        <translation>‏%1 (مهمان)</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>‏%1 (%2)</translation>
    </message>
    <message>
        <source>, unrated</source>
        <translation>، بی‌درجه</translation>
    </message>
    <message>
        <source>&amp;Best rated players:</source>
        <translation>بهترین بازیکنان به ترتیب درجه:</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>درجه</translation>
    </message>
    <message>
        <source>%1 ± %2</source>
        <translation>‏%1 ± %2</translation>
    </message>
    <message>
        <source>Beginner</source>
        <translation>مبتدی</translation>
    </message>
    <message>
        <source>Master</source>
        <translation>استاد</translation>
    </message>
</context>
<context>
    <name>zarv::ui::SignInDialog</name>
    <message>
        <source>Register</source>
        <translation>ثبت‌نام</translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation>ورود به حساب</translation>
    </message>
    <message>
        <source>Register your name on this server to keep it: nobody else can play under it, in any spelling. The window remembers your sign-in.</source>
        <translation>نام خود را در این سرور ثبت کنید تا از آن شما بماند: کسی دیگر با هیچ نگارشی از آن بازی نمی‌کند. پنجره ورود شما را به یاد می‌سپارد.</translation>
    </message>
    <message>
        <source>Sign in with the name and password you registered on this server. The window remembers your sign-in.</source>
        <translation>با نام و گذرواژه‌ای که در این سرور ثبت کرده‌اید وارد شوید. پنجره ورود شما را به یاد می‌سپارد.</translation>
    </message>
    <message>
        <source>8 to 64 characters, without ; or |</source>
        <translation>‏۸ تا ۶۴ نویسه، بدون ; یا |</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>نام:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>گذرواژه:</translation>
    </message>
    <message>
        <source>Password &amp;again:</source>
        <translation>تکرار گذرواژه:</translation>
    </message>
    <message>
        <source>&amp;Register</source>
        <translation>ثبت‌نام</translation>
    </message>
    <message>
        <source>Sign &amp;In</source>
        <translation>ورود</translation>
    </message>
    <message>
        <source>A name has 1 to 40 letters, without ; or |.</source>
        <translation>نام ۱ تا ۴۰ حرف دارد، بدون ; یا |.</translation>
    </message>
    <message>
        <source>A password has 8 to 64 characters, without ; or |.</source>
        <translation>گذرواژه ۸ تا ۶۴ نویسه دارد، بدون ; یا |.</translation>
    </message>
    <message>
        <source>The two passwords differ.</source>
        <translation>دو گذرواژه یکسان نیستند.</translation>
    </message>
</context>
<context>
    <name>zarv::ui::TableMenus</name>
    <message>
        <source>&amp;Game</source>
        <translation>بازی</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>شروع</translation>
    </message>
    <message>
        <source>Player Name...</source>
        <translation>نام بازیکن...</translation>
    </message>
    <message>
        <source>Your name can be changed between games</source>
        <translation>نامتان را میان دو بازی می‌توانید عوض کنید</translation>
    </message>
    <message>
        <source>Score...</source>
        <translation>نتیجه‌ها...</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>گزینه‌ها...</translation>
    </message>
    <message>
        <source>&amp;Network...</source>
        <translation>شبکه...</translation>
    </message>
    <message>
        <source>Leave Network Game</source>
        <translation>ترک بازی شبکه‌ای</translation>
    </message>
    <message>
        <source>Let the Computer Play for the Waited Player</source>
        <translation>رایانه به‌جای بازیکنی که منتظرش هستیم بازی کند</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>تمام‌صفحه</translation>
    </message>
    <message>
        <source>&amp;Hint</source>
        <translation>راهنمایی</translation>
    </message>
    <message>
        <source>&amp;Last Trick</source>
        <translation>دست آخر</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>خروج</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>راهنما</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>درباره...</translation>
    </message>
    <message>
        <source>&amp;Trace</source>
        <translation>ردیابی</translation>
    </message>
    <message>
        <source>Trace Mode</source>
        <translation>حالت ردیابی</translation>
    </message>
    <message>
        <source>&amp;Replay This Hand</source>
        <translation>تکرار این دور</translation>
    </message>
    <message>
        <source>Load Suggest...</source>
        <translation>باز کردن پخش...</translation>
    </message>
    <message>
        <source>Save Suggest...</source>
        <translation>ذخیرهٔ پخش...</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>برگرداندن حرکت</translation>
    </message>
    <message>
        <source>Takes back your last card, or the ZARV you named, in a game against the computer</source>
        <translation>آخرین کارت شما، یا زرویی را که نام بردید، در بازی با رایانه پس می‌گیرد</translation>
    </message>
    <message>
        <source>&amp;Review Hand...</source>
        <translation>مرور دور...</translation>
    </message>
    <message>
        <source>The last hand trick by trick, and what your cards cost or won</source>
        <translation>دور گذشته دست به دست، و آنچه کارت‌های شما هزینه داشت یا به دست آورد</translation>
    </message>
</context>
<context>
    <name>zarv::ui::TableView</name>
    <message>
        <source>Press F2 or choose Game &gt; Start to deal</source>
        <translation>برای پخش کارت‌ها کلید F2 را بزنید یا «بازی &gt; شروع» را برگزینید</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>نتیجه</translation>
    </message>
    <message>
        <source>[Human]</source>
        <translation>[انسان]</translation>
    </message>
    <message>
        <source>[Computer]</source>
        <translation>[رایانه]</translation>
    </message>
</context>
<context>
    <name>zarv::ui::TableWindow</name>
    <message>
        <source>There is no hand to save yet: start a game first.</source>
        <translation>هنوز پخشی برای ذخیره نیست: نخست بازی را شروع کنید.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>نوشتن %1 ممکن نیست: %2</translation>
    </message>
    <message>
        <source>%1 is not a saved hand: %2</source>
        <translation>‏%1 پخشِ ذخیره‌شده نیست: %2</translation>
    </message>
    <message>
        <source>Save Suggest</source>
        <translation>ذخیرهٔ پخش</translation>
    </message>
    <message>
        <source>Zarv hands (*.zarv);;All files (*)</source>
        <translation>پخش‌های زرو (*.zarv);;همهٔ پرونده‌ها (*)</translation>
    </message>
    <message>
        <source>Load Suggest</source>
        <translation>باز کردن پخش</translation>
    </message>
    <message>
        <source>Zarv</source>
        <translation>زرو</translation>
    </message>
    <message>
        <source>Game Over</source>
        <translation>پایان بازی</translation>
    </message>
    <message>
        <source>A game is in progress. Leave it unfinished?</source>
        <translation>بازی در جریان است. نیمه‌کاره رهایش می‌کنید؟</translation>
    </message>
    <message>
        <source>Don&apos;t ask again</source>
        <translation>دیگر نپرس</translation>
    </message>
    <message>
        <source>You must follow %1</source>
        <translation>باید %1 بیایید</translation>
    </message>
    <message>
        <source>That card is not in your hand</source>
        <translation>این کارت در دست شما نیست</translation>
    </message>
    <message>
        <source>Scores</source>
        <translation>نتیجه‌ها</translation>
    </message>
    <message>
        <source>This game&apos;s result could not be recorded for %1 in %2.</source>
        <translation>نتیجهٔ این بازی برای %1 در %2 ثبت نشد.</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>تنظیمات</translation>
    </message>
    <message>
        <source>The settings file was damaged; a copy was kept as %1. Everything that could be read from it is kept.</source>
        <translation>پروندهٔ تنظیمات آسیب دیده بود؛ رونوشتی از آن با نام %1 نگه داشته شد. هر آنچه از آن خواندنی بود، حفظ شده است.</translation>
    </message>
    <message>
        <source>Hint: %1 (%2) — press Enter to play it</source>
        <translation>راهنمایی: %1 (%2) — برای بازی کردنش کلید Enter را بزنید</translation>
    </message>
    <message>
        <source>Start a new game?</source>
        <translation>بازی تازه‌ای شروع شود؟</translation>
    </message>
    <message>
        <source>&amp;New Game</source>
        <translation>بازی تازه</translation>
    </message>
    <message>
        <source>E&amp;xit Zarv</source>
        <translation>خروج از زرو</translation>
    </message>
    <message>
        <source>You are back at your seat.</source>
        <translation>به صندلی خود برگشتید.</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>شبکه</translation>
    </message>
    <message>
        <source>When Zarv last closed, you had a seat in a network game at %1.

Go back to your seat?</source>
        <translation>وقتی زرو بار پیش بسته شد، در یک بازی شبکه‌ای در %1 صندلی داشتید.

به صندلی خود برمی‌گردید؟</translation>
    </message>
    <message>
        <source>&amp;Go Back</source>
        <translation>بازگشت</translation>
    </message>
    <message>
        <source>&amp;Not Now</source>
        <translation>اکنون نه</translation>
    </message>
    <message>
        <source>Review Hand</source>
        <translation>مرور دور</translation>
    </message>
    <message>
        <source>%1 holds no cards played, so there is nothing to review.</source>
        <translation>در %1 هیچ کارت بازی‌شده‌ای نیست، پس چیزی برای مرور نیست.</translation>
    </message>
    <message>
        <source>This hand cannot be reviewed: %1</source>
        <translation>این دور را نمی‌توان مرور کرد: %1</translation>
    </message>
    <message>
        <source>Seat %L1</source>
        <translation>جای %L1</translation>
    </message>
</context>
<context>
    <name>zarv::ui::WatchView</name>
    <message>
        <source>The watched table</source>
        <translation>میز تماشاشده</translation>
    </message>
    <message>
        <source>[Human]</source>
        <translation>[انسان]</translation>
    </message>
    <message>
        <source>[Computer]</source>
        <translation>[رایانه]</translation>
    </message>
    <message>
        <source>Seat %1</source>
        <translation>صندلی %L1</translation>
    </message>
    <message>
        <source>HAKEM</source>
        <translation>حاکم</translation>
    </message>
    <message>
        <source>Hand %1   ZARV %2</source>
        <translation>دور %L1   زرو %2</translation>
    </message>
    <message>
        <source>The game is over.</source>
        <translation>بازی تمام شد.</translation>
    </message>
    <message>
        <source>Waiting for the game to begin...</source>
        <translation>در انتظار شروع بازی...</translation>
    </message>
    <message>
        <source>%1 is choosing the ZARV.</source>
        <translation>‏%1 دارد زرو را انتخاب می‌کند.</translation>
    </message>
    <message>
        <source>%1 to play.</source>
        <translation>نوبت %1 است.</translation>
    </message>
    <message>
        <source>%1 and %2: %3, %4</source>
        <translation>‏%1 و %2‏: %3، %4</translation>
    </message>
    <message>
        <source>%1 and %2: %3</source>
        <translation>‏%1 و %2‏: %3</translation>
    </message>
</context>
</TS>
