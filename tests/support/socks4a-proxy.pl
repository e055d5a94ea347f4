#!/usr/bin/perl
# A SOCKS4a proxy on a loopback port, for the transport's proxy tests (dante speaks SOCKS4 and
# SOCKS5 but not 4a). The protocol side is IO::Socket::Socks; this script only relays.
#   socks4a-proxy.pl PORT LOGFILE
use strict;
use warnings;
use IO::Socket::Socks qw(:constants $SOCKS_ERROR);
use IO::Socket::INET;
use IO::Select;

my ($port, $logfile) = @ARGV;
open(my $log, '>>', $logfile) or die "log: $!";
$log->autoflush(1);
my $server = IO::Socket::Socks->new(ProxyAddr => '127.0.0.1', ProxyPort => $port, Listen => 10,
                                    SocksVersion => 4, SocksResolve => 1, ReuseAddr => 1)
    or die "listen: $SOCKS_ERROR";
print $log "listening on 127.0.0.1:$port\n";
$SIG{CHLD} = 'IGNORE';
while (1) {
    my $client = $server->accept() or next;
    if (fork() == 0) {
        my ($cmd, $host, $dport) = @{ $client->command() };
        print $log "request $cmd to $host:$dport\n";
        my $target = IO::Socket::INET->new(PeerAddr => $host, PeerPort => $dport, Timeout => 10);
        if (!$target) {
            $client->command_reply(REQUEST_FAILED, '0.0.0.0', 0);
            exit 0;
        }
        $client->command_reply(REQUEST_GRANTED, $target->sockhost, $target->sockport);
        my $sel = IO::Select->new($client, $target);
        RELAY: while (1) {
            for my $fh ($sel->can_read(30)) {
                my $other = $fh == $client ? $target : $client;
                my $n = sysread($fh, my $buf, 65536);
                last RELAY if !$n;
                syswrite($other, $buf);
            }
        }
        exit 0;
    }
    close $client;
}
